#pragma once
// Resident memory of this process from /proc/self/status, and the reset of its peak,
// so that a benchmark can tell what one step adds to what the process held before.
#include <fstream>
#include <string>

namespace bench {

// Kilobytes from a line of /proc/self/status ("VmRSS:", "VmHWM:").
inline long statusKilobytes(const std::string& key) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.compare(0, key.size(), key) == 0) return std::stol(line.substr(key.size()));
    return -1;
}

// Resets the peak resident size to the current one (Linux clear_refs 5).
inline bool resetPeakMemory() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    return static_cast<bool>(clear.flush());
}

}  // namespace bench

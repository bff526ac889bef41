#include "core/platform/os_error_mapping.h"

#include <windows.h>

#include "core/text/failures.h"

namespace core {

// GetLastError's codes are the failure numbers already; the few that say the same
// as one of the failure table's in other words get its number.
int ioFailureNumber(int osError, bool /*folderExists*/) {
    switch (osError) {
        case ERROR_HANDLE_DISK_FULL: return io::kDiskFull;
        case ERROR_LOCK_VIOLATION: return io::kSharingViolation;
        case ERROR_BAD_PATHNAME:
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_DIRECTORY: return io::kInvalidName;
        default: return osError;
    }
}

// Windows tells a missing folder (3) from a missing file (2) itself.
int ioFailureNumberForPath(int osError, const std::string& /*path*/) { return ioFailureNumber(osError, true); }

std::string folderOf(const std::string& path) {
    const auto separator = path.find_last_of("\\/");
    if (separator == std::string::npos) return ".";
    if (separator == 0 || (separator == 2 && path[1] == ':')) return path.substr(0, separator + 1);
    return path.substr(0, separator);
}

}  // namespace core

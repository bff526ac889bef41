#include "core/platform/temporary_names.h"

namespace core {
namespace {

// Leaves room for the suffix within the 255-byte limit of a file name.
constexpr std::size_t kMaxTemporaryBaseName = 200;
constexpr char kMarker[] = ".tmp-";

bool allDigits(const std::string& text, std::size_t from, std::size_t to) {
    if (from >= to) return false;
    for (std::size_t i = from; i < to; ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    return true;
}

}  // namespace

std::string temporaryFileName(const std::string& target, long processId, std::uint64_t number) {
    std::string temporary(1, '.');
    temporary.append(target, 0, kMaxTemporaryBaseName);
    temporary += kMarker + std::to_string(processId) + "-" + std::to_string(number);
    return temporary;
}

std::optional<long> temporaryFileWriter(const std::string& name) {
    const std::size_t marker = name.rfind(kMarker);
    if (name.size() < 2 || name[0] != '.' || marker == std::string::npos || marker < 1) return std::nullopt;
    const std::size_t pidStart = marker + sizeof kMarker - 1;
    const std::size_t dash = name.find('-', pidStart);
    if (dash == std::string::npos || !allDigits(name, pidStart, dash) || !allDigits(name, dash + 1, name.size()))
        return std::nullopt;
    if (dash - pidStart > 9) return std::nullopt;  // no process id has ten digits
    return std::stol(name.substr(pidStart, dash - pidStart));
}

}  // namespace core

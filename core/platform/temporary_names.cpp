#include "core/project/temporary_names.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

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

// kill(pid, 0) fails with ESRCH only when no process has that id; EPERM means one
// runs under another user, which may be the writer.
bool processIsGone(long processId) { return ::kill(static_cast<pid_t>(processId), 0) != 0 && errno == ESRCH; }

std::vector<std::string> staleNames(int folder) {
    std::vector<std::string> names;
    const int listed = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listed < 0) return names;
    DIR* entries = ::fdopendir(listed);
    if (!entries) {
        ::close(listed);
        return names;
    }
    while (const dirent* entry = ::readdir(entries)) {
        const std::string name = entry->d_name;
        const auto writer = temporaryFileWriter(name);
        if (writer && *writer != ::getpid() && processIsGone(*writer)) names.push_back(name);
    }
    ::closedir(entries);
    return names;
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

void removeStaleTemporaryFiles(int folder) {
    for (const std::string& name : staleNames(folder)) {
        struct stat info {};
        if (::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode)) continue;
        // Another save may have removed it first; what stays is left for the next one.
        ::unlinkat(folder, name.c_str(), 0);
    }
}

}  // namespace core

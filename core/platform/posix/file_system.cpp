#include "core/platform/file_system.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/platform/os_error_mapping.h"
#include "core/text/failures.h"

namespace core {
namespace {

constexpr mode_t kPrivateFolderMode = 0700;

[[noreturn]] void raiseFor(int osError, const std::string& path) {
    throw IoFailure(ioFailureNumberForPath(osError, path));
}

}  // namespace

std::optional<FileStamp> fileStamp(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return FileStamp{S_ISREG(info.st_mode), static_cast<std::int64_t>(info.st_mtim.tv_sec),
                     static_cast<std::int64_t>(info.st_mtim.tv_nsec)};
}

// As `mkdir -p` would; a last folder that exists with other modes is narrowed.
void makePrivateFolders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        const bool last = slash == std::string::npos;
        if (::mkdir(part.c_str(), last ? kPrivateFolderMode : 0755) != 0 && errno != EEXIST) raiseFor(errno, part);
        if (last) break;
    }
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) raiseFor(errno, folder);
    if ((info.st_mode & 07777) != kPrivateFolderMode && ::chmod(folder.c_str(), kPrivateFolderMode) != 0)
        raiseFor(errno, folder);
}

void removeFileIfPresent(const std::string& path) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) raiseFor(errno, path);
}

}  // namespace core

#include "core/project/os_error_mapping.h"

#include <sys/stat.h>

#include <cerrno>

#include "core/text/failures.h"

namespace core {

namespace {
// errno 5 (EIO) would read as "access denied"; a device error gets a number of
// its own instead.
inline constexpr int kDeviceError = 1117;
}  // namespace

int ioFailureNumber(int osError, bool folderExists) {
    switch (osError) {
        case ENOENT: return folderExists ? io::kFileNotFound : io::kPathNotFound;
        case ENOTDIR: return io::kPathNotFound;
        case EMFILE:
        case ENFILE: return io::kTooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR: return io::kAccessDenied;
        case ETXTBSY:
        case EBUSY: return io::kSharingViolation;
        case ENOSPC:
        case EDQUOT: return io::kDiskFull;
        case ENAMETOOLONG:
        case EILSEQ:
        case EINVAL: return io::kInvalidName;
        case EIO: return kDeviceError;
        default: return osError;
    }
}

int ioFailureNumberForPath(int osError, const std::string& path) {
    if (osError != ENOENT) return ioFailureNumber(osError, true);
    struct stat info {};
    const bool folderExists = ::stat(folderOf(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    return ioFailureNumber(osError, folderExists);
}

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace core

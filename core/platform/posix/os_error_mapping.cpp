#include "core/platform/os_error_mapping.h"

#include <sys/stat.h>

#include <cerrno>

#include "core/text/failures.h"

namespace core {

namespace {
// The failure numbers are the Windows system's error codes; an error the table has
// no number for gets the Windows code of the same meaning, so that no raw errno
// (EIO's 5 would read as "access denied") passes for one of another meaning.
inline constexpr int kInvalidHandle = 6;        // ERROR_INVALID_HANDLE
inline constexpr int kNotEnoughMemory = 8;      // ERROR_NOT_ENOUGH_MEMORY
inline constexpr int kNotSameDevice = 17;       // ERROR_NOT_SAME_DEVICE
inline constexpr int kNotSupported = 50;        // ERROR_NOT_SUPPORTED
inline constexpr int kNetworkError = 59;        // ERROR_UNEXP_NET_ERR
inline constexpr int kFileExists = 80;          // ERROR_FILE_EXISTS
inline constexpr int kDirectoryNotEmpty = 145;  // ERROR_DIR_NOT_EMPTY
inline constexpr int kFileTooLarge = 223;       // ERROR_FILE_TOO_LARGE
inline constexpr int kPipeClosing = 232;        // ERROR_NO_DATA: the reading end is gone
inline constexpr int kDeviceError = 1117;       // ERROR_IO_DEVICE
inline constexpr int kTooManyLinks = 1142;      // ERROR_TOO_MANY_LINKS
}  // namespace

int ioFailureNumber(int osError, bool folderExists) {
    switch (osError) {
        case ENOENT: return folderExists ? io::kFileNotFound : io::kPathNotFound;
        // Nothing behind the name to open: a pipe without a reader, a device not there.
        case ENXIO:
        case ENODEV: return io::kFileNotFound;
        case ENOTDIR:
        case ELOOP: return io::kPathNotFound;
        case EMFILE:
        case ENFILE: return io::kTooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR: return io::kAccessDenied;
        case ETXTBSY:
        case EBUSY:
        case EAGAIN: return io::kSharingViolation;
        case ENOSPC:
        case EDQUOT:
        case EFBIG: return io::kDiskFull;
        case ENAMETOOLONG:
        case EILSEQ:
        case EINVAL: return io::kInvalidName;
        case EIO: return kDeviceError;
        case EBADF: return kInvalidHandle;
        case ENOMEM: return kNotEnoughMemory;
        case EXDEV: return kNotSameDevice;
        case EOPNOTSUPP: return kNotSupported;
        case ESTALE:
        case ETIMEDOUT:
        case ECONNRESET:
        case ENOTCONN:
        case EHOSTDOWN:
        case ENOLINK:
        case EREMOTEIO: return kNetworkError;
        case EEXIST: return kFileExists;
        case ENOTEMPTY: return kDirectoryNotEmpty;
        case EOVERFLOW: return kFileTooLarge;
        case EPIPE: return kPipeClosing;
        case EMLINK: return kTooManyLinks;
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

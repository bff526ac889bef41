#include "core/platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace core {

// O_NONBLOCK keeps the open from waiting for a pipe's writer; a regular file ignores it.
RegularFile::RegularFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) throw SystemError(errno);
    struct stat info {};
    const int statResult = ::fstat(fd, &info);
    const int statError = errno;
    if (statResult != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        if (statResult != 0) throw SystemError(statError);
        throw NotRegularFile();
    }
    length_ = static_cast<std::uint64_t>(info.st_size);
    handle_ = fd;
}

RegularFile::~RegularFile() {
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

std::size_t RegularFile::read(char* into, std::size_t size) {
    for (;;) {
        const ssize_t got = ::read(static_cast<int>(handle_), into, size);
        if (got >= 0) return static_cast<std::size_t>(got);
        if (errno != EINTR) throw SystemError(errno);
    }
}

std::size_t RegularFile::readAt(std::uint64_t offset, char* into, std::size_t size) {
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::pread(static_cast<int>(handle_), into + got, size - got, static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw SystemError(errno);
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    return got;
}

void RegularFile::close() {
    const int fd = static_cast<int>(handle_);
    handle_ = -1;
    if (fd >= 0 && ::close(fd) != 0) throw SystemError(errno);
}

}  // namespace core

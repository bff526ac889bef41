#include "core/bmp/sheet_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <new>

#include "core/bmp/bmp_layout.h"
#include "core/text/failures.h"

namespace core {
namespace {

class SheetFile {
public:
    SheetFile(const std::string& path, const std::string& nameInFailure) : nameInFailure_(nameInFailure) {
        // No file has a name with a NUL in it; the bytes before it would name another.
        if (path.empty() || path.find('\0') != std::string::npos) fail();
        // O_NONBLOCK keeps the open from waiting for a pipe's writer; a regular file ignores it.
        fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd_ < 0) fail();
        struct stat info {};
        if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) fail();
        length_ = static_cast<std::uint64_t>(info.st_size);
    }
    SheetFile(const SheetFile&) = delete;
    SheetFile& operator=(const SheetFile&) = delete;
    ~SheetFile() {
        if (fd_ >= 0) ::close(fd_);
    }

    std::uint64_t length() const { return length_; }

    // The bytes at `offset`, fewer where the file ends sooner than its length said.
    std::string read(std::uint64_t offset, std::uint64_t length) {
        std::string bytes;
        try {
            bytes.resize(static_cast<std::size_t>(std::min(length, length_ - std::min(offset, length_))));
        } catch (const std::bad_alloc&) {
            throw OutOfMemoryFailure();
        }
        std::size_t got = 0;
        while (got < bytes.size()) {
            const ssize_t n = ::pread(fd_, bytes.data() + got, bytes.size() - got, static_cast<off_t>(offset + got));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) fail();
            if (n == 0) break;
            got += static_cast<std::size_t>(n);
        }
        bytes.resize(got);
        return bytes;
    }

    void close() {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) fail();
    }

private:
    [[noreturn]] void fail() { throw FileOpenFailure(nameInFailure_); }

    int fd_ = -1;
    std::uint64_t length_ = 0;
    const std::string& nameInFailure_;
};

}  // namespace

Bitmap readSheetFile(const std::string& path, const std::string& nameInFailure, const AdmitSize& admit) {
    SheetFile file(path, nameInFailure);
    const std::string head = file.read(0, bmp::kBmpHeadBytes);
    // A file that shrank since it was opened ends where its bytes do.
    const std::uint64_t length = head.size() < bmp::kBmpHeadBytes ? head.size() : file.length();
    const auto fetch = [&file](std::uint64_t offset, std::uint64_t count) { return file.read(offset, count); };
    Bitmap sheet = decodeBmpParts(head, length, fetch, admit);
    file.close();
    return sheet;
}

}  // namespace core

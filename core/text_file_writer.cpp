#include "core/text_file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>
#include <optional>

#include "core/decimal_cells.h"
#include "core/failures.h"
#include "core/os_error_mapping.h"

namespace core {
namespace {

constexpr std::size_t kBufferSize = std::size_t{1} << 20;
constexpr int kMaxLinkHops = 40;
constexpr int kMaxTemporaryNameTries = 100;
// Leaves room for the suffix within the 255-byte limit of a file name.
constexpr std::size_t kMaxTemporaryBaseName = 200;

[[noreturn]] void raiseFor(int osError, const std::string& path) {
    throw IoFailure(ioFailureNumberForPath(osError, path));
}

std::string baseNameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Saving through a symbolic link replaces the file it names and keeps the link.
std::string followLinks(std::string path) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1, '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0) raiseFor(errno, path);
        target.resize(static_cast<std::size_t>(length));
        path = (!target.empty() && target.front() == '/') ? target : folderOf(path) + "/" + target;
    }
    raiseFor(ELOOP, path);
}

// An existing target must be writable before anything is written; a missing one
// is a new file. Gives what the replacement must keep of it.
std::optional<struct stat> existingTarget(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return std::nullopt;
        raiseFor(errno, path);
    }
    struct stat info {};
    const int statResult = ::fstat(fd, &info);
    const int statError = errno;
    ::close(fd);
    if (statResult != 0) raiseFor(statError, path);
    return info;
}

void writeAll(int fd, const char* data, std::size_t size, const std::string& path) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            raiseFor(errno, path);
        }
        if (written == 0) raiseFor(ENOSPC, path);
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

}  // namespace

struct TextFileWriter::Impl {
    int fd = -1;
    bool ownsDescriptor = false;
    std::string targetPath;
    std::string temporaryPath;  // empty when writing straight into the target
    std::unique_ptr<char[]> buffer = std::make_unique<char[]>(kBufferSize);
    std::size_t used = 0;
    int failedNumber = 0;

    ~Impl() { discard(); }

    // Closes and removes what was written; the target stays as it was.
    void discard() noexcept {
        if (ownsDescriptor && fd >= 0) ::close(fd);
        fd = -1;
        if (!temporaryPath.empty()) ::unlink(temporaryPath.c_str());
        temporaryPath.clear();
    }

    void failWith(const IoFailure& failure) {
        failedNumber = failure.number();
        discard();
        throw failure;
    }

    void ensureUsable() const {
        if (fd < 0) throw IoFailure(failedNumber != 0 ? failedNumber : EBADF);
    }

    void flush() {
        try {
            writeAll(fd, buffer.get(), used, targetPath);
        } catch (const IoFailure& failure) {
            failWith(failure);
        }
        used = 0;
    }

    void createTemporaryBeside(const std::optional<struct stat>& target);
    void keepAttributesOf(const struct stat& target);
};

void TextFileWriter::Impl::createTemporaryBeside(const std::optional<struct stat>& target) {
    const std::string stem = folderOf(targetPath) + "/." + baseNameOf(targetPath).substr(0, kMaxTemporaryBaseName);
    const auto seed = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < kMaxTemporaryNameTries; ++attempt) {
        const std::string candidate =
            stem + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string((seed + attempt * 7919u) % 1000000007u);
        // Mode 0666 lets the umask decide for a new file, as a plain create would.
        fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ownsDescriptor = true;
            temporaryPath = candidate;
            if (target) keepAttributesOf(*target);
            return;
        }
        if (errno != EEXIST) raiseFor(errno, candidate);
    }
    raiseFor(EEXIST, targetPath);
}

void TextFileWriter::Impl::keepAttributesOf(const struct stat& target) {
    // The owner can only be kept by a privileged process; elsewhere the new file
    // belongs to whoever saves it, as with any editor that replaces files.
    if (target.st_uid != ::geteuid() || target.st_gid != ::getegid()) {
        [[maybe_unused]] const int ignored = ::fchown(fd, target.st_uid, target.st_gid);
    }
    if (::fchmod(fd, target.st_mode & 07777) != 0) {
        const int error = errno;
        discard();
        raiseFor(error, targetPath);
    }
}

TextFileWriter::TextFileWriter(const std::string& path) : impl_(std::make_unique<Impl>()) {
    impl_->targetPath = followLinks(path);
    const auto target = existingTarget(impl_->targetPath);
    if (target && !S_ISREG(target->st_mode)) {
        // A device or pipe cannot be replaced; it is written in place.
        impl_->fd = ::open(impl_->targetPath.c_str(), O_WRONLY | O_TRUNC | O_NOCTTY | O_CLOEXEC);
        if (impl_->fd < 0) raiseFor(errno, impl_->targetPath);
        impl_->ownsDescriptor = true;
        return;
    }
    impl_->createTemporaryBeside(target);
}

TextFileWriter TextFileWriter::toDescriptor(int fd) {
    TextFileWriter writer;
    writer.impl_ = std::make_unique<Impl>();
    writer.impl_->fd = fd;
    writer.impl_->targetPath = "/dev/fd/" + std::to_string(fd);
    return writer;
}

TextFileWriter::TextFileWriter(TextFileWriter&&) noexcept = default;
TextFileWriter& TextFileWriter::operator=(TextFileWriter&&) noexcept = default;
TextFileWriter::~TextFileWriter() = default;

void TextFileWriter::writeLine(std::string_view line) {
    Impl& out = *impl_;
    out.ensureUsable();
    if (line.size() + 2 > kBufferSize - out.used) {
        out.flush();
        if (line.size() + 2 > kBufferSize) {
            try {
                writeAll(out.fd, line.data(), line.size(), out.targetPath);
            } catch (const IoFailure& failure) {
                out.failWith(failure);
            }
            line = {};
        }
    }
    char* at = out.buffer.get() + out.used;
    if (!line.empty()) std::memcpy(at, line.data(), line.size());
    at[line.size()] = '\r';
    at[line.size() + 1] = '\n';
    out.used += line.size() + 2;
}

void TextFileWriter::writeNumberLine(std::uint32_t value) {
    Impl& out = *impl_;
    out.ensureUsable();
    // Ten digits and CR LF.
    if (kBufferSize - out.used < 12) out.flush();
    char* at = out.buffer.get() + out.used;
    char* end = std::to_chars(at, at + 10, value).ptr;
    end[0] = '\r';
    end[1] = '\n';
    out.used += static_cast<std::size_t>(end - at) + 2;
}

namespace {

// `prefix`, a 16-bit value in decimal and CR LF; gives the end of what was written.
// Stores up to prefix + eight bytes at `at`.
inline char* putCellLine(char* at, std::string_view prefix, std::uint16_t value) {
    if (!prefix.empty()) {
        std::memcpy(at, prefix.data(), prefix.size());
        at += prefix.size();
    }
    const DecimalCell& cell = decimalCell(value);
    std::memcpy(at, &cell, sizeof cell);
    at[cell.length] = '\r';
    at[cell.length + 1] = '\n';
    return at + cell.length + 2;
}

}  // namespace

void TextFileWriter::writeNumberLines(const std::uint16_t* values, std::size_t count, std::string_view prefix) {
    Impl& out = *impl_;
    out.ensureUsable();
    // The room one line may take while it is written: the prefix and the eight bytes copied.
    const std::size_t lineRoom = prefix.size() + sizeof(DecimalCell);
    if (lineRoom > kBufferSize) {
        for (std::size_t i = 0; i < count; ++i) {
            std::string line(prefix);
            line += std::string_view(decimalCell(values[i]).digits, decimalCell(values[i]).length);
            writeLine(line);
        }
        return;
    }
    while (count > 0) {
        std::size_t room = (kBufferSize - out.used) / lineRoom;
        if (room == 0) {
            out.flush();
            room = kBufferSize / lineRoom;
        }
        const std::size_t batch = room < count ? room : count;
        char* at = out.buffer.get() + out.used;
        char* const start = at;
        if (prefix.empty()) {
            for (std::size_t i = 0; i < batch; ++i) at = putCellLine(at, {}, values[i]);
        } else {
            for (std::size_t i = 0; i < batch; ++i) at = putCellLine(at, prefix, values[i]);
        }
        out.used += static_cast<std::size_t>(at - start);
        values += batch;
        count -= batch;
    }
}

void TextFileWriter::commit() {
    Impl& out = *impl_;
    out.ensureUsable();
    out.flush();
    if (!out.ownsDescriptor) return;
    const auto failIf = [&out](bool failed) {
        if (failed) out.failWith(IoFailure(ioFailureNumberForPath(errno, out.targetPath)));
    };
    if (!out.temporaryPath.empty()) failIf(::fsync(out.fd) != 0);
    const int fd = out.fd;
    out.fd = -1;
    failIf(::close(fd) != 0);
    if (out.temporaryPath.empty()) return;
    failIf(::rename(out.temporaryPath.c_str(), out.targetPath.c_str()) != 0);
    out.temporaryPath.clear();
}

}  // namespace core

#include "core/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <optional>

#include "core/failures.h"
#include "core/os_error_mapping.h"

namespace core {
namespace {

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

struct AtomicFile::Impl {
    int fd = -1;
    bool ownsDescriptor = false;
    std::string targetPath;
    std::string temporaryPath;  // empty when writing straight into the target
    int failedNumber = 0;

    ~Impl() { discard(); }

    // Closes and removes what was written; the target stays as it was.
    void discard() noexcept {
        if (ownsDescriptor && fd >= 0) ::close(fd);
        fd = -1;
        if (!temporaryPath.empty()) ::unlink(temporaryPath.c_str());
        temporaryPath.clear();
    }

    [[noreturn]] void failWith(const IoFailure& failure) {
        failedNumber = failure.number();
        discard();
        throw failure;
    }

    void createTemporaryBeside(const std::optional<struct stat>& target);
    void keepAttributesOf(const struct stat& target);
};

void AtomicFile::Impl::createTemporaryBeside(const std::optional<struct stat>& target) {
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

void AtomicFile::Impl::keepAttributesOf(const struct stat& target) {
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

AtomicFile::AtomicFile(const std::string& path) : impl_(std::make_unique<Impl>()) {
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

AtomicFile AtomicFile::onDescriptor(int fd) {
    AtomicFile file;
    file.impl_ = std::make_unique<Impl>();
    file.impl_->fd = fd;
    file.impl_->targetPath = "/dev/fd/" + std::to_string(fd);
    return file;
}

AtomicFile::AtomicFile(AtomicFile&&) noexcept = default;
AtomicFile& AtomicFile::operator=(AtomicFile&&) noexcept = default;
AtomicFile::~AtomicFile() = default;

void AtomicFile::checkUsable() const {
    if (impl_->fd < 0) throw IoFailure(impl_->failedNumber != 0 ? impl_->failedNumber : EBADF);
}

void AtomicFile::write(const char* data, std::size_t size) {
    checkUsable();
    try {
        writeAll(impl_->fd, data, size, impl_->targetPath);
    } catch (const IoFailure& failure) {
        impl_->failWith(failure);
    }
}

void AtomicFile::commit() {
    Impl& file = *impl_;
    checkUsable();
    if (!file.ownsDescriptor) return;
    const auto failIf = [&file](bool failed) {
        if (failed) file.failWith(IoFailure(ioFailureNumberForPath(errno, file.targetPath)));
    };
    if (!file.temporaryPath.empty()) failIf(::fsync(file.fd) != 0);
    const int fd = file.fd;
    file.fd = -1;
    failIf(::close(fd) != 0);
    if (file.temporaryPath.empty()) return;
    failIf(::rename(file.temporaryPath.c_str(), file.targetPath.c_str()) != 0);
    file.temporaryPath.clear();
}

}  // namespace core

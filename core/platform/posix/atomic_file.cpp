#include "core/platform/atomic_file.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <functional>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "core/platform/os_error_mapping.h"
#include "core/platform/posix/stale_temporaries.h"
#include "core/platform/temporary_names.h"
#include "core/text/failures.h"

namespace core {
namespace {

constexpr int kMaxLinkHops = 40;
constexpr int kMaxTemporaryNameTries = 100;

[[noreturn]] void raiseFor(int osError, const std::string& path) {
    throw IoFailure(ioFailureNumberForPath(osError, path));
}

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept {
        if (this != &other) {
            reset();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    int get() const { return fd_; }
    void reset() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

// A folder held by a descriptor: whatever later happens to the names on its path,
// the temporary file, the link and the rename all stay in it.
Descriptor openFolder(int at, const std::string& name, const std::string& path) {
    const int fd = ::openat(at, name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) raiseFor(errno == ENOENT ? ENOTDIR : errno, path);
    return Descriptor(fd);
}

// What a path names once its links are followed: a name in a folder.
struct Target {
    enum class Kind { Missing, Regular, InPlace };
    Kind kind = Kind::Missing;
    Descriptor folder;
    std::string name;
    std::string path;          // as text, for the failure numbers
    bool processLink = false;  // a link of /proc, which only the kernel can follow
};

// The kernel's rule for sticky, world-writable folders such as /tmp, applied whether
// or not the system enables it: a link there is followed only when the writer or the
// folder's owner owns it, so nobody can point a shared folder's name at another
// user's file.
void checkLinkMayBeFollowed(int folder, const struct stat& link, const std::string& path) {
    if (link.st_uid == ::geteuid()) return;
    struct stat info {};
    if (::fstat(folder, &info) != 0) raiseFor(errno, path);
    const bool shared = (info.st_mode & S_ISVTX) && (info.st_mode & S_IWOTH);
    if (shared && info.st_uid != link.st_uid) throw IoFailure(io::kAccessDenied);
}

// /dev/stdout and /dev/fd/N lead to links in /proc, which name the process's open
// files; only the kernel can follow one to a pipe or a terminal.
bool isProcessFolder(int folder) {
    struct statfs info {};
    return ::fstatfs(folder, &info) == 0 && info.f_type == PROC_SUPER_MAGIC;
}

std::string readLink(int folder, const std::string& name, const std::string& path) {
    std::string target(256, '\0');
    for (;;) {
        const ssize_t length = ::readlinkat(folder, name.c_str(), target.data(), target.size());
        if (length < 0) raiseFor(errno, path);
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            return target;
        }
        target.resize(target.size() * 2);
    }
}

// A regular file behind a link of /proc, by a path that still names it: it is
// replaced whole like any other. Nothing for a pipe, a terminal or a deleted file.
std::optional<std::string> regularFileBehind(int folder, const std::string& name, const std::string& path) {
    struct stat named {};
    if (::fstatat(folder, name.c_str(), &named, 0) != 0) raiseFor(errno, path);
    if (!S_ISREG(named.st_mode)) return std::nullopt;
    const std::string real = readLink(folder, name, path);
    struct stat atPath {};
    if (real.empty() || real.front() != '/' || ::lstat(real.c_str(), &atPath) != 0 || atPath.st_dev != named.st_dev ||
        atPath.st_ino != named.st_ino)
        return std::nullopt;
    return real;
}

// Saving through a symbolic link replaces the file it names and keeps the link. The
// path is walked one component at a time, as the kernel walks it, so that every link
// on the way, in a folder as well as at the end, meets the rule above; each folder
// is opened without following a link.
class PathWalk {
public:
    explicit PathWalk(const std::string& path) {
        push(path);
        const bool absolute = !path.empty() && path.front() == '/';
        if (!absolute) folderPath_.push_back('.');
        folder_ = openFolder(AT_FDCWD, absolute ? std::string(1, '/') : folderPath_, path);
    }

    Target run() {
        while (!pending_.empty()) {
            const std::string name = std::move(pending_.back());
            pending_.pop_back();
            if (name.empty() || name == ".") continue;
            const std::string path = folderPath_ + "/" + name;
            if (name == "..") {
                enter(name, path);
                continue;
            }
            const bool last = std::all_of(pending_.begin(), pending_.end(),
                                          [](const std::string& rest) { return rest.empty() || rest == "."; });
            struct stat info {};
            if (::fstatat(folder_.get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
                if (errno == ENOENT && last) return target(Target::Kind::Missing, name, path);
                raiseFor(errno == ENOENT ? ENOTDIR : errno, path);
            }
            if (!S_ISLNK(info.st_mode)) {
                if (last) return target(S_ISREG(info.st_mode) ? Target::Kind::Regular : Target::Kind::InPlace, name, path);
                enter(name, path);
                continue;
            }
            if (++hops_ > kMaxLinkHops) raiseFor(ELOOP, path);
            checkLinkMayBeFollowed(folder_.get(), info, path);
            std::string next;
            if (last && isProcessFolder(folder_.get())) {
                const auto regular = regularFileBehind(folder_.get(), name, path);
                if (!regular) return target(Target::Kind::InPlace, name, path, true);
                next = *regular;
            } else {
                next = readLink(folder_.get(), name, path);
            }
            if (!next.empty() && next.front() == '/') {
                folderPath_.clear();
                folder_ = openFolder(AT_FDCWD, "/", path);
            }
            push(next);
        }
        // The path names a folder: it cannot be replaced, and writing to it fails.
        return target(Target::Kind::InPlace, ".", folderPath_.empty() ? "/" : folderPath_);
    }

private:
    // Puts the components of `path` before those still pending.
    void push(std::string_view path) {
        std::vector<std::string> components;
        for (std::size_t start = 0; start <= path.size();) {
            const std::size_t slash = std::min(path.find('/', start), path.size());
            components.emplace_back(path.substr(start, slash - start));
            start = slash + 1;
        }
        pending_.insert(pending_.end(), components.rbegin(), components.rend());
    }

    void enter(const std::string& name, const std::string& path) {
        folder_ = openFolder(folder_.get(), name, path);
        folderPath_ = path;
    }

    Target target(Target::Kind kind, const std::string& name, const std::string& path, bool processLink = false) {
        return {kind, std::move(folder_), name, path, processLink};
    }

    std::vector<std::string> pending_;  // the components still to walk, the next one last
    Descriptor folder_;                 // the folder reached, by no link
    std::string folderPath_;            // its path as text; empty for the root
    int hops_ = 0;
};

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
    enum class Mode {
        Descriptor,  // the caller's descriptor, kept open
        InPlace,     // a device, pipe or terminal, opened here
        Unnamed,     // a temporary file without a name until commit
        Named,       // a temporary file with a name from the start
    };

    int fd = -1;
    Mode mode = Mode::Descriptor;
    Descriptor folder;
    std::string name;           // the target's name in the folder
    std::string targetPath;     // as text, for the failure numbers
    std::string temporaryName;  // while a temporary file has a name in the folder
    TemporaryNameListener* listener = nullptr;
    unsigned newFileMode = 0666;
    int failedNumber = 0;

    ~Impl() { discard(); }

    // Closes and removes what was written; the target stays as it was.
    void discard() noexcept {
        if (mode != Mode::Descriptor && fd >= 0) ::close(fd);
        fd = -1;
        if (!temporaryName.empty()) {
            ::unlinkat(folder.get(), temporaryName.c_str(), 0);
            forgetTemporaryName();
        }
    }

    [[noreturn]] void failWith(const IoFailure& failure) {
        failedNumber = failure.number();
        discard();
        throw failure;
    }
    [[noreturn]] void failWith(int osError) { failWith(IoFailure(ioFailureNumberForPath(osError, targetPath))); }

    // The listener hears of a name before the file gets it, so that no signal can
    // come between; a name already taken is then no file of this writer's.
    bool giveTemporaryName(const std::string& temporary, const std::function<bool()>& create) {
        if (listener) listener->temporaryNamed(folder.get(), temporary);
        if (create()) {
            temporaryName = temporary;
            return true;
        }
        const int error = errno;
        if (listener) listener->temporaryGone();
        errno = error;
        return false;
    }
    void forgetTemporaryName() noexcept {
        temporaryName.clear();
        if (listener) listener->temporaryGone();
    }

    std::string freshTemporaryName(int attempt) const;
    void openInPlace(bool processLink);
    void createTemporary(bool existing);
    void createNamedTemporary();
    void keepAttributesOf(const struct stat& target);
    void nameTheUnnamed();
    void syncFolder();
};

std::string AtomicFile::Impl::freshTemporaryName(int attempt) const {
    static const auto seed = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    return temporaryFileName(name, ::getpid(), (seed + static_cast<unsigned>(attempt) * 7919u) % 1000000007u);
}

// A pipe that nobody reads fails at once instead of blocking; once open, writes block
// as usual. A regular file reached this way (one already deleted) is emptied first.
// Anything but a link of /proc is opened without following a link, so that a pipe
// swapped for a link after the walk cannot lead the write elsewhere.
void AtomicFile::Impl::openInPlace(bool processLink) {
    fd = ::openat(folder.get(), name.c_str(),
                  O_WRONLY | O_TRUNC | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (processLink ? 0 : O_NOFOLLOW));
    if (fd < 0) raiseFor(errno, targetPath);
    mode = Mode::InPlace;
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) failWith(errno);
}

// Unnamed where the file system offers it (and /proc can give it a name later);
// EOPNOTSUPP and EISDIR say that it does not. An existing target must be writable
// before anything is written, and the replacement keeps its attributes.
void AtomicFile::Impl::createTemporary(bool existing) {
    struct stat target {};
    if (existing) {
        const int fd = ::openat(folder.get(), name.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) raiseFor(errno, targetPath);
        const int statResult = ::fstat(fd, &target);
        const int statError = errno;
        ::close(fd);
        if (statResult != 0) raiseFor(statError, targetPath);
    }
    if (::access("/proc/self/fd", X_OK) == 0) {
        // Mode 0666 lets the umask decide for a new file, as a plain create would.
        fd = ::openat(folder.get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, newFileMode);
        if (fd >= 0) {
            mode = Mode::Unnamed;
        } else if (errno != EOPNOTSUPP && errno != EISDIR) {
            raiseFor(errno, targetPath);
        }
    }
    if (fd < 0) createNamedTemporary();
    if (existing) keepAttributesOf(target);
}

void AtomicFile::Impl::createNamedTemporary() {
    for (int attempt = 0; attempt < kMaxTemporaryNameTries; ++attempt) {
        const std::string candidate = freshTemporaryName(attempt);
        if (giveTemporaryName(candidate, [&] {
                fd = ::openat(folder.get(), candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                              newFileMode);
                return fd >= 0;
            })) {
            mode = Mode::Named;
            return;
        }
        if (errno != EEXIST) raiseFor(errno, targetPath);
    }
    raiseFor(EEXIST, targetPath);
}

void AtomicFile::Impl::keepAttributesOf(const struct stat& target) {
    // The owner can only be kept by a privileged process; elsewhere the new file
    // belongs to whoever saves it, as with any editor that replaces files.
    if (target.st_uid != ::geteuid() || target.st_gid != ::getegid()) {
        [[maybe_unused]] const int ignored = ::fchown(fd, target.st_uid, target.st_gid);
    }
    if (::fchmod(fd, target.st_mode & 07777) != 0) failWith(errno);
}

// The complete file gets a temporary name beside the target, for the rename; /proc
// names the open file, and AT_EMPTY_PATH does where /proc cannot be used for it.
void AtomicFile::Impl::nameTheUnnamed() {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < kMaxTemporaryNameTries; ++attempt) {
        const std::string candidate = freshTemporaryName(attempt);
        if (giveTemporaryName(candidate, [&] {
                return ::linkat(AT_FDCWD, self.c_str(), folder.get(), candidate.c_str(), AT_SYMLINK_FOLLOW) == 0 ||
                       (errno == ENOENT && ::linkat(fd, "", folder.get(), candidate.c_str(), AT_EMPTY_PATH) == 0);
            }))
            return;
        if (errno != EEXIST) failWith(errno);
    }
    failWith(EEXIST);
}

// The new name survives a power loss only once the folder is on disk too. A folder
// that may be written but not read cannot be opened for that; its file is in place
// all the same.
void AtomicFile::Impl::syncFolder() {
    const Descriptor readable(::openat(folder.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (readable.get() < 0) return;
    // EINVAL: a file system that has nothing to sync for a folder.
    if (::fsync(readable.get()) != 0 && errno != EINVAL) raiseFor(errno, targetPath);
}

AtomicFile::AtomicFile(const std::string& path, TemporaryNameListener* listener, unsigned newFileMode)
    : impl_(std::make_unique<Impl>()) {
    impl_->newFileMode = newFileMode;
    Target target = PathWalk(path).run();
    impl_->folder = std::move(target.folder);
    impl_->name = target.name;
    impl_->targetPath = target.path;
    impl_->listener = listener;
    switch (target.kind) {
        case Target::Kind::InPlace: impl_->openInPlace(target.processLink); break;
        case Target::Kind::Regular: impl_->createTemporary(true); break;
        case Target::Kind::Missing: impl_->createTemporary(false); break;
    }
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
    using Mode = Impl::Mode;
    if (file.mode == Mode::Descriptor) return;
    const bool replacing = file.mode != Mode::InPlace;
    if (replacing && ::fsync(file.fd) != 0) file.failWith(errno);
    if (file.mode == Mode::Unnamed) file.nameTheUnnamed();
    const int fd = file.fd;
    file.fd = -1;
    if (::close(fd) != 0) file.failWith(errno);
    if (!replacing) return;
    if (::renameat(file.folder.get(), file.temporaryName.c_str(), file.folder.get(), file.name.c_str()) != 0)
        file.failWith(errno);
    file.forgetTemporaryName();
    file.syncFolder();
    removeStaleTemporaryFiles(file.folder.get());
}

}  // namespace core

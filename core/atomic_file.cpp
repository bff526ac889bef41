#include "core/atomic_file.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <vector>

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

// What a path names once its links are followed.
struct Target {
    enum class Kind { Missing, Regular, InPlace };
    Kind kind = Kind::Missing;
    std::string path;
};

// The kernel's rule for sticky, world-writable folders such as /tmp, applied whether
// or not the system enables it: a link there is followed only when the writer or the
// folder's owner owns it, so nobody can point a shared folder's name at another
// user's file.
void checkLinkMayBeFollowed(const std::string& link, const struct stat& linkInfo) {
    if (linkInfo.st_uid == ::geteuid()) return;
    struct stat folder {};
    if (::stat(folderOf(link).c_str(), &folder) != 0) raiseFor(errno, link);
    const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    if (shared && folder.st_uid != linkInfo.st_uid) throw IoFailure(io::kAccessDenied);
}

// /dev/stdout and /dev/fd/N lead to links in /proc, which name the process's open
// files; only the kernel can follow one to a pipe or a terminal.
bool isProcessLink(const std::string& link) {
    struct statfs info {};
    return ::statfs(folderOf(link).c_str(), &info) == 0 && info.f_type == PROC_SUPER_MAGIC;
}

std::string readLink(const std::string& link) {
    std::string target(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink(link.c_str(), target.data(), target.size());
        if (length < 0) raiseFor(errno, link);
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            return target;
        }
        target.resize(target.size() * 2);
    }
}

// A regular file behind a link of /proc, by a path that still names it: it is
// replaced whole like any other. Nothing for a pipe, a terminal or a deleted file.
std::optional<std::string> regularFileBehind(const std::string& processLink) {
    struct stat named {};
    if (::stat(processLink.c_str(), &named) != 0) raiseFor(errno, processLink);
    if (!S_ISREG(named.st_mode)) return std::nullopt;
    const std::string path = readLink(processLink);
    struct stat atPath {};
    if (path.empty() || path.front() != '/' || ::lstat(path.c_str(), &atPath) != 0 || atPath.st_dev != named.st_dev ||
        atPath.st_ino != named.st_ino)
        return std::nullopt;
    return path;
}

// Saving through a symbolic link replaces the file it names and keeps the link. The
// path is walked one component at a time, as the kernel walks it, so that every link
// on the way, in a folder as well as at the end, meets the rule above.
class PathWalk {
public:
    explicit PathWalk(const std::string& path) {
        push(path);
        if (path.empty() || path.front() != '/') {
            std::unique_ptr<char, decltype(&std::free)> folder(::getcwd(nullptr, 0), &std::free);
            if (!folder) raiseFor(errno, path);
            push(folder.get());
        }
    }

    Target run() {
        while (!pending_.empty()) {
            const std::string name = std::move(pending_.back());
            pending_.pop_back();
            if (name.empty() || name == ".") continue;
            if (name == "..") {
                walked_.erase(std::min(walked_.size(), walked_.rfind('/')));
                continue;
            }
            const std::string candidate = walked_ + "/" + name;
            const bool last = std::all_of(pending_.begin(), pending_.end(),
                                          [](const std::string& rest) { return rest.empty() || rest == "."; });
            struct stat info {};
            if (::lstat(candidate.c_str(), &info) != 0) {
                if (errno == ENOENT && last) return {Target::Kind::Missing, candidate};
                if (errno == ENOENT) throw IoFailure(io::kPathNotFound);
                raiseFor(errno, candidate);
            }
            if (!S_ISLNK(info.st_mode)) {
                if (last) return {S_ISREG(info.st_mode) ? Target::Kind::Regular : Target::Kind::InPlace, candidate};
                walked_ = candidate;
                continue;
            }
            if (++hops_ > kMaxLinkHops) raiseFor(ELOOP, candidate);
            checkLinkMayBeFollowed(candidate, info);
            std::string next;
            if (last && isProcessLink(candidate)) {
                const auto regular = regularFileBehind(candidate);
                if (!regular) return {Target::Kind::InPlace, candidate};
                next = *regular;
            } else {
                next = readLink(candidate);
            }
            if (!next.empty() && next.front() == '/') walked_.clear();
            push(next);
        }
        return {Target::Kind::InPlace, walked_.empty() ? "/" : walked_};
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

    std::vector<std::string> pending_;  // the components still to walk, the next one last
    std::string walked_;                // the folder reached, without links; empty for the root
    int hops_ = 0;
};

// An existing target must be writable before anything is written. Gives what the
// replacement must keep of it.
struct stat writableTarget(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) raiseFor(errno, path);
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

// A folder that may be written but not read cannot be opened to sync it; its file
// is in place all the same.
void syncFolderOf(const std::string& path) {
    const int folder = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return;
    const int result = ::fsync(folder);
    const int error = errno;
    ::close(folder);
    // EINVAL: a file system that has nothing to sync for a folder.
    if (result != 0 && error != EINVAL) raiseFor(error, path);
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
    std::string targetPath;
    std::string temporaryPath;  // while a temporary file has a name
    TemporaryNameListener* listener = nullptr;
    int failedNumber = 0;

    ~Impl() { discard(); }

    // Closes and removes what was written; the target stays as it was.
    void discard() noexcept {
        if (mode != Mode::Descriptor && fd >= 0) ::close(fd);
        fd = -1;
        if (!temporaryPath.empty()) {
            ::unlink(temporaryPath.c_str());
            forgetTemporaryName();
        }
    }

    [[noreturn]] void failWith(const IoFailure& failure) {
        failedNumber = failure.number();
        discard();
        throw failure;
    }
    [[noreturn]] void failWith(int osError) { failWith(IoFailure(ioFailureNumberForPath(osError, targetPath))); }

    void rememberTemporaryName(const std::string& path) {
        temporaryPath = path;
        if (listener) listener->temporaryNamed(path);
    }
    void forgetTemporaryName() noexcept {
        temporaryPath.clear();
        if (listener) listener->temporaryGone();
    }

    std::string temporaryName(int attempt) const;
    void openInPlace();
    void createTemporary(const std::optional<struct stat>& target);
    void createNamedTemporary();
    void keepAttributesOf(const struct stat& target);
    void nameTheUnnamed();
};

std::string AtomicFile::Impl::temporaryName(int attempt) const {
    static const auto seed = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    const std::string stem = folderOf(targetPath) + "/." + baseNameOf(targetPath).substr(0, kMaxTemporaryBaseName);
    return stem + ".tmp-" + std::to_string(::getpid()) + "-" +
           std::to_string((seed + static_cast<unsigned>(attempt) * 7919u) % 1000000007u);
}

// A pipe that nobody reads fails at once instead of blocking; once open, writes block
// as usual. A regular file reached this way (one already deleted) is emptied first.
void AtomicFile::Impl::openInPlace() {
    fd = ::open(targetPath.c_str(), O_WRONLY | O_TRUNC | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) raiseFor(errno, targetPath);
    mode = Mode::InPlace;
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) failWith(errno);
}

// Unnamed where the file system offers it (and /proc can give it a name later);
// EOPNOTSUPP and EISDIR say that it does not.
void AtomicFile::Impl::createTemporary(const std::optional<struct stat>& target) {
    if (::access("/proc/self/fd", X_OK) == 0) {
        // Mode 0666 lets the umask decide for a new file, as a plain create would.
        fd = ::open(folderOf(targetPath).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (fd >= 0) {
            mode = Mode::Unnamed;
        } else if (errno != EOPNOTSUPP && errno != EISDIR) {
            raiseFor(errno, targetPath);
        }
    }
    if (fd < 0) createNamedTemporary();
    if (target) keepAttributesOf(*target);
}

void AtomicFile::Impl::createNamedTemporary() {
    for (int attempt = 0; attempt < kMaxTemporaryNameTries; ++attempt) {
        const std::string candidate = temporaryName(attempt);
        fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            mode = Mode::Named;
            rememberTemporaryName(candidate);
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
    if (::fchmod(fd, target.st_mode & 07777) != 0) failWith(errno);
}

// The complete file gets a temporary name beside the target, for the rename; /proc
// names the open file, and AT_EMPTY_PATH does where /proc cannot be used for it.
void AtomicFile::Impl::nameTheUnnamed() {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < kMaxTemporaryNameTries; ++attempt) {
        const std::string candidate = temporaryName(attempt);
        int linked = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW);
        if (linked != 0 && errno == ENOENT) linked = ::linkat(fd, "", AT_FDCWD, candidate.c_str(), AT_EMPTY_PATH);
        if (linked == 0) {
            rememberTemporaryName(candidate);
            return;
        }
        if (errno != EEXIST) failWith(errno);
    }
    failWith(EEXIST);
}

AtomicFile::AtomicFile(const std::string& path, TemporaryNameListener* listener) : impl_(std::make_unique<Impl>()) {
    const Target target = PathWalk(path).run();
    impl_->targetPath = target.path;
    impl_->listener = listener;
    switch (target.kind) {
        case Target::Kind::InPlace: impl_->openInPlace(); break;
        case Target::Kind::Regular: impl_->createTemporary(writableTarget(target.path)); break;
        case Target::Kind::Missing: impl_->createTemporary(std::nullopt); break;
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
    if (::rename(file.temporaryPath.c_str(), file.targetPath.c_str()) != 0) file.failWith(errno);
    file.forgetTemporaryName();
    syncFolderOf(file.targetPath);
}

}  // namespace core

#pragma once
// What only a POSIX system offers the file tests: unnamed temporary files and a
// file-size limit that makes writing fail part-way.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <string>

namespace testsupport {

// Whether `folder` takes unnamed temporary files (O_TMPFILE), as ext4 and tmpfs do.
inline bool unnamedTemporaryFilesWork(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

// A file-size limit for as long as it lives: writing past it fails part-way, as on a
// full disk, with EFBIG instead of the signal.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : previousHandler_(::signal(SIGXFSZ, SIG_IGN)) {
        rlimit limited{};
        applied_ = ::getrlimit(RLIMIT_FSIZE, &previous_) == 0;
        limited = previous_;
        limited.rlim_cur = bytes;
        applied_ = applied_ && ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    bool applied() const { return applied_; }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        ::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    void (*previousHandler_)(int);
    rlimit previous_{};
    bool applied_ = false;
};

}  // namespace testsupport

#pragma once
// Files for tests: a fresh folder under /tmp for one test, removed with everything in
// it afterwards, and a limit that makes writing fail part-way.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

namespace testsupport {

class TempFolder {
public:
    TempFolder() {
        std::string pattern = "/tmp/quarvel-core-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(std::string_view name) const { return path_ + "/" + std::string(name); }
    std::filesystem::path operator/(std::string_view name) const { return std::filesystem::path(path_) / name; }

    std::string write(std::string_view name, std::string_view bytes) const {
        const std::string target = file(name);
        std::ofstream out(target, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return target;
    }

    std::size_t entryCount() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(path_), {}));
    }

private:
    std::string path_;
};

inline std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

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

#include "core/platform/posix/stale_temporaries.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "core/platform/temporary_names.h"

namespace core {
namespace {

// kill(pid, 0) fails with ESRCH only when no process has that id; EPERM means one
// runs under another user, which may be the writer.
bool processIsGone(long processId) { return ::kill(static_cast<pid_t>(processId), 0) != 0 && errno == ESRCH; }

std::vector<std::string> staleNames(int folder) {
    std::vector<std::string> names;
    const int listed = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listed < 0) return names;
    DIR* entries = ::fdopendir(listed);
    if (!entries) {
        ::close(listed);
        return names;
    }
    while (const dirent* entry = ::readdir(entries)) {
        const std::string name = entry->d_name;
        const auto writer = temporaryFileWriter(name);
        if (writer && *writer != ::getpid() && processIsGone(*writer)) names.push_back(name);
    }
    ::closedir(entries);
    return names;
}

}  // namespace

void removeStaleTemporaryFiles(int folder) {
    for (const std::string& name : staleNames(folder)) {
        struct stat info {};
        if (::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode)) continue;
        // Another save may have removed it first; what stays is left for the next one.
        ::unlinkat(folder, name.c_str(), 0);
    }
}

}  // namespace core

#include "core/recovery/recovery_copy.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <utility>

#include "core/platform/os_error_mapping.h"
#include "core/project/project_file.h"
#include "core/project/text_file_writer.h"
#include "core/text/failures.h"

namespace core {
namespace {

constexpr char kSubfolder[] = "/quarvel-editor/recovery";
constexpr std::size_t kMaxNamePart = 100;
constexpr unsigned kFolderMode = 0700;
constexpr unsigned kCopyMode = 0600;

std::uint64_t fnv1a(const std::string& bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ull;
    }
    return hash;
}

// A folder and each missing one above it, as `mkdir -p` would; the last one only
// for its owner.
void makeFolders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        const bool last = slash == std::string::npos;
        if (::mkdir(part.c_str(), last ? kFolderMode : 0755) != 0 && errno != EEXIST)
            throw IoFailure(ioFailureNumberForPath(errno, part));
        if (last) break;
    }
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) throw IoFailure(ioFailureNumberForPath(errno, folder));
    if ((info.st_mode & 07777) != kFolderMode && ::chmod(folder.c_str(), kFolderMode) != 0)
        throw IoFailure(ioFailureNumberForPath(errno, folder));
}

}  // namespace

RecoverySnapshot snapshotOf(const EditorState& document, std::string widthText, std::string heightText) {
    RecoverySnapshot snapshot;
    snapshot.document.ImagePath = document.ImagePath;
    snapshot.document.MapName = document.MapName;
    snapshot.document.Map = document.Map;
    snapshot.document.MapWidth = document.MapWidth;
    snapshot.document.MapHeight = document.MapHeight;
    snapshot.widthText = std::move(widthText);
    snapshot.heightText = std::move(heightText);
    return snapshot;
}

std::optional<std::string> recoveryFolder(const std::optional<std::string>& xdgStateHome,
                                          const std::optional<std::string>& home) {
    if (xdgStateHome && !xdgStateHome->empty() && (*xdgStateHome)[0] == '/') return *xdgStateHome + kSubfolder;
    if (home && !home->empty() && (*home)[0] == '/') return *home + "/.local/state" + kSubfolder;
    return std::nullopt;
}

std::string recoveryFileName(const std::string& absolutePath) {
    if (absolutePath.empty()) return "untitled.quarvel";
    const std::size_t slash = absolutePath.find_last_of('/');
    std::string name = slash == std::string::npos ? absolutePath : absolutePath.substr(slash + 1);
    if (name.size() > kMaxNamePart) name.resize(kMaxNamePart);
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(fnv1a(absolutePath)));
    return name + "-" + hash + ".quarvel";
}

void writeRecoveryCopy(const std::string& folder, const std::string& fileName, const RecoverySnapshot& snapshot) {
    makeFolders(folder);
    TextFileWriter out(folder + "/" + fileName, nullptr, kCopyMode);
    writeProjectLines(out, snapshot.document, snapshot.widthText, snapshot.heightText);
    out.commit();
}

std::optional<std::int64_t> fileTime(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return static_cast<std::int64_t>(info.st_mtim.tv_sec);
}

bool recoveryCopyIsNewer(const std::string& copyPath, const std::string& projectPath) {
    struct stat copy {}, project {};
    if (::stat(copyPath.c_str(), &copy) != 0 || !S_ISREG(copy.st_mode)) return false;
    if (::stat(projectPath.c_str(), &project) != 0) return true;
    if (copy.st_mtim.tv_sec != project.st_mtim.tv_sec) return copy.st_mtim.tv_sec > project.st_mtim.tv_sec;
    return copy.st_mtim.tv_nsec > project.st_mtim.tv_nsec;
}

void removeRecoveryCopy(const std::string& copyPath) {
    if (::unlink(copyPath.c_str()) != 0 && errno != ENOENT) throw IoFailure(ioFailureNumberForPath(errno, copyPath));
}

}  // namespace core

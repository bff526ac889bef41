#include "core/recovery/recovery_copy.h"

#include <cstdio>
#include <utility>

#include "core/platform/file_system.h"
#include "core/platform/user_folders.h"
#include "core/project/project_file.h"
#include "core/project/text_file_writer.h"
#include "core/text/failures.h"

namespace core {
namespace {

constexpr std::size_t kMaxNamePart = 100;
constexpr unsigned kCopyMode = 0600;

std::uint64_t fnv1a(const std::string& bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ull;
    }
    return hash;
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

std::optional<std::string> recoveryFolder(const std::optional<std::string>& stateFolder) {
    if (!stateFolder) return std::nullopt;
    const char separator = folderSeparator();
    return *stateFolder + separator + "quarvel-editor" + separator + "recovery";
}

std::string recoveryFileName(const std::string& absolutePath) {
    if (absolutePath.empty()) return "untitled.quarvel";
    const std::size_t slash = absolutePath.find_last_of(std::string{'/', folderSeparator()});
    std::string name = slash == std::string::npos ? absolutePath : absolutePath.substr(slash + 1);
    if (name.size() > kMaxNamePart) name.resize(kMaxNamePart);
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(fnv1a(absolutePath)));
    return name + "-" + hash + ".quarvel";
}

void writeRecoveryCopy(const std::string& folder, const std::string& fileName, const RecoverySnapshot& snapshot) {
    makePrivateFolders(folder);
    TextFileWriter out(folder + folderSeparator() + fileName, nullptr, kCopyMode);
    writeProjectLines(out, snapshot.document, snapshot.widthText, snapshot.heightText);
    out.commit();
}

std::optional<std::int64_t> fileTime(const std::string& path) {
    const auto stamp = fileStamp(path);
    if (!stamp) return std::nullopt;
    return stamp->seconds;
}

bool recoveryCopyIsNewer(const std::string& copyPath, const std::string& projectPath) {
    const auto copy = fileStamp(copyPath);
    if (!copy || !copy->regular) return false;
    const auto project = fileStamp(projectPath);
    if (!project) return true;
    if (copy->seconds != project->seconds) return copy->seconds > project->seconds;
    return copy->nanoseconds > project->nanoseconds;
}

void removeRecoveryCopy(const std::string& copyPath) { removeFileIfPresent(copyPath); }

}  // namespace core

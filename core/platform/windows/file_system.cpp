#include "core/platform/file_system.h"

#include <windows.h>

#include "core/platform/windows/wide_path.h"
#include "core/text/failures.h"

namespace core {
namespace {

// FILETIME counts 100 ns from 1601; 1970 is this many of them later.
constexpr std::int64_t kUnixEpochTicks = 116444736000000000LL;
constexpr std::int64_t kTicksPerSecond = 10000000;

bool isFolder(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::optional<FileStamp> fileStamp(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(widePath(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    const std::int64_t ticks = (static_cast<std::int64_t>(data.ftLastWriteTime.dwHighDateTime) << 32 |
                                data.ftLastWriteTime.dwLowDateTime) -
                               kUnixEpochTicks;
    std::int64_t seconds = ticks / kTicksPerSecond;
    std::int64_t rest = ticks % kTicksPerSecond;
    if (rest < 0) {
        --seconds;
        rest += kTicksPerSecond;
    }
    const bool regular = !(data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE));
    return FileStamp{regular, seconds, rest * 100};
}

// Each folder of the path from the top, as `mkdir -p` would; only the last one's
// failure counts, since a drive's root or a share cannot be made but is there. The
// user's own profile is the owner's only already, so no access list is set.
void makePrivateFolders(const std::string& folder) {
    const std::wstring wide = widePath(folder);
    for (std::size_t at = wide.find_first_of(L"\\/", 1);; at = wide.find_first_of(L"\\/", at + 1)) {
        const bool last = at == std::wstring::npos;
        if (!::CreateDirectoryW(wide.substr(0, at).c_str(), nullptr) && last) {
            const DWORD error = ::GetLastError();
            if (error != ERROR_ALREADY_EXISTS) throw IoFailure(static_cast<int>(error));
        }
        if (last) break;
    }
    // A file of that name is no place for the copies.
    if (!isFolder(wide)) throw IoFailure(io::kAccessDenied);
}

void removeFileIfPresent(const std::string& path) {
    if (::DeleteFileW(widePath(path).c_str())) return;
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) throw IoFailure(static_cast<int>(error));
}

}  // namespace core

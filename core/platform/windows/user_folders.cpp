#include "core/platform/user_folders.h"

#include <windows.h>

#include "core/platform/windows/wide_path.h"

namespace core {
namespace {

bool isAbsolute(const std::wstring& path) {
    const bool drive = path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/');
    const bool share = path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\';
    return drive || share;
}

}  // namespace

std::optional<std::string> userStateFolder() {
    const DWORD length = ::GetEnvironmentVariableW(L"LOCALAPPDATA", nullptr, 0);
    if (length == 0) return std::nullopt;
    std::wstring value(length, L'\0');
    value.resize(::GetEnvironmentVariableW(L"LOCALAPPDATA", value.data(), length));
    if (!isAbsolute(value)) return std::nullopt;
    return utf8FromWide(value);
}

char folderSeparator() { return '\\'; }

}  // namespace core

// The state folder on Windows: %LOCALAPPDATA%, as UTF-8.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/platform/user_folders.h"

namespace {

std::optional<std::string> stateFolderWith(const wchar_t* localAppData) {
    wchar_t previous[32768];
    const DWORD had = ::GetEnvironmentVariableW(L"LOCALAPPDATA", previous, 32768);
    ::SetEnvironmentVariableW(L"LOCALAPPDATA", localAppData);
    auto folder = core::userStateFolder();
    ::SetEnvironmentVariableW(L"LOCALAPPDATA", had ? previous : nullptr);
    return folder;
}

TEST(UserStateFolder, IsTheLocalApplicationDataFolder) {
    EXPECT_EQ(stateFolderWith(L"C:\\Users\\\u5c71\u7530\\AppData\\Local"),
              "C:\\Users\\\xE5\xB1\xB1\xE7\x94\xB0\\AppData\\Local");
    EXPECT_EQ(stateFolderWith(L"\\\\server\\home"), "\\\\server\\home");
    EXPECT_EQ(stateFolderWith(L"relative"), std::nullopt);
    EXPECT_EQ(stateFolderWith(nullptr), std::nullopt);
    EXPECT_EQ(core::folderSeparator(), '\\');
}

}  // namespace

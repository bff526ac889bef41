#pragma once
// Where a program keeps what outlives a session but is no document of the user's.
#include <optional>
#include <string>

namespace core {

// $XDG_STATE_HOME, else $HOME/.local/state on POSIX systems (an empty or relative
// value counts as unset); %LOCALAPPDATA% on Windows. Nothing when there is none.
std::optional<std::string> userStateFolder();

// What joins folder names in a path shown to the user: '/', or '\\' on Windows.
char folderSeparator();

}  // namespace core

#include "core/platform/user_folders.h"

#include <cstdlib>

namespace core {
namespace {

std::optional<std::string> absoluteFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (!value || value[0] != '/') return std::nullopt;
    return std::string(value);
}

}  // namespace

std::optional<std::string> userStateFolder() {
    if (auto state = absoluteFromEnvironment("XDG_STATE_HOME")) return state;
    if (auto home = absoluteFromEnvironment("HOME")) return *home + "/.local/state";
    return std::nullopt;
}

char folderSeparator() { return '/'; }

}  // namespace core

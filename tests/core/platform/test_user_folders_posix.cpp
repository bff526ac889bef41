// The state folder from the environment, by the XDG rules.
#include <stdlib.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/platform/user_folders.h"

namespace {

// Sets (or, for nothing, unsets) a variable for one test and puts it back.
class EnvironmentValue {
public:
    EnvironmentValue(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = ::getenv(name)) previous_ = old;
        set(value);
    }
    ~EnvironmentValue() { set(previous_); }
    EnvironmentValue(const EnvironmentValue&) = delete;
    EnvironmentValue& operator=(const EnvironmentValue&) = delete;

private:
    void set(const std::optional<std::string>& value) {
        if (value) ::setenv(name_, value->c_str(), 1);
        else ::unsetenv(name_);
    }
    const char* name_;
    std::optional<std::string> previous_;
};

std::optional<std::string> stateFolderWith(std::optional<std::string> xdgStateHome, std::optional<std::string> home) {
    const EnvironmentValue state("XDG_STATE_HOME", xdgStateHome);
    const EnvironmentValue homeValue("HOME", home);
    return core::userStateFolder();
}

TEST(UserStateFolder, FollowsTheXdgRules) {
    EXPECT_EQ(stateFolderWith("/state", "/home/u"), "/state");
    EXPECT_EQ(stateFolderWith(std::nullopt, "/home/u"), "/home/u/.local/state");
    // An empty or relative XDG_STATE_HOME is not set, by the XDG rules.
    EXPECT_EQ(stateFolderWith("", "/h"), "/h/.local/state");
    EXPECT_EQ(stateFolderWith("rel", "/h"), "/h/.local/state");
    EXPECT_EQ(stateFolderWith(std::nullopt, std::nullopt), std::nullopt);
    EXPECT_EQ(stateFolderWith(std::nullopt, ""), std::nullopt);
}

}  // namespace

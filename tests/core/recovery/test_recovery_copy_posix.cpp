// The recovery copy is the owner's only: a folder of 0700 and files of 0600.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "core/recovery/recovery_copy.h"
#include "support/temp_folder.h"

namespace {

unsigned modeOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return 0;
    return info.st_mode & 0777;
}

TEST(RecoveryCopy, IsTheOwnersOnlyWhenMadeAndWhenWrittenAgain) {
    const testsupport::TempFolder folder;
    const std::string state = folder.file("state/quarvel-editor/recovery");
    core::RecoverySnapshot snapshot;
    core::writeRecoveryCopy(state, "copy.quarvel", snapshot);
    EXPECT_EQ(modeOf(state), 0700u);
    EXPECT_EQ(modeOf(state + "/copy.quarvel"), 0600u);
    ASSERT_EQ(::chmod(state.c_str(), 0755), 0);
    core::writeRecoveryCopy(state, "copy.quarvel", snapshot);
    EXPECT_EQ(modeOf(state), 0700u) << "a folder found wider is narrowed";
    EXPECT_EQ(modeOf(state + "/copy.quarvel"), 0600u);
}

}  // namespace

// The recovery copy: where it lives, how it is named from the project's path, and
// that it reads back as the project file it is.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iterator>

#include "core/map/windowless_size_fields.h"
#include "core/platform/user_folders.h"
#include "core/project/project_file.h"
#include "core/recovery/recovery_copy.h"
#include "core/text/failures.h"
#include "support/temp_folder.h"

namespace {

using testsupport::TempFolder;

TEST(RecoveryCopy, LivesInTheUsersStateFolder) {
    EXPECT_EQ(core::recoveryFolder(std::nullopt), std::nullopt);
    const std::string separator(1, core::folderSeparator());
    EXPECT_EQ(core::recoveryFolder(std::string("S")), "S" + separator + "quarvel-editor" + separator + "recovery");
}

TEST(RecoveryCopy, IsNamedSoThatTheProjectsPathFindsIt) {
    const std::string a = core::recoveryFileName("/maps/level1.quarvel");
    EXPECT_EQ(a, core::recoveryFileName("/maps/level1.quarvel"));
    EXPECT_EQ(a.rfind("level1.quarvel-", 0), 0u) << a;
    EXPECT_TRUE(a.ends_with(".quarvel"));
    EXPECT_NE(a, core::recoveryFileName("/other/level1.quarvel")) << "one name, two folders";
    EXPECT_NE(a, core::recoveryFileName("/maps/level2.quarvel"));
    EXPECT_EQ(core::recoveryFileName(""), "untitled.quarvel");
    EXPECT_LE(core::recoveryFileName("/" + std::string(300, 'x')).size(), 100u + 1 + 16 + 8);
}

TEST(RecoveryCopy, ReadsBackAsTheProjectItCopies) {
    const TempFolder folder;
    core::RecoverySnapshot snapshot;
    snapshot.document.ImagePath = "C:\\sheets\\\x83^\x83" "C\x83\x8b.bmp";
    snapshot.document.MapName = "level";
    snapshot.document.Map = core::TileMap{{1, 2, 3}, {4, 5, 65535}};
    snapshot.document.MapWidth = 3;
    snapshot.document.MapHeight = 2;
    snapshot.widthText = "$3";
    snapshot.heightText = "2";
    const std::string state = folder.file("state/quarvel-editor/recovery");
    core::writeRecoveryCopy(state, "copy.quarvel", snapshot);

    core::EditorState read;
    core::WindowlessSizeFields fields(read);
    core::openProject(state + "/copy.quarvel", read, fields);
    EXPECT_EQ(read.ImagePath, snapshot.document.ImagePath);
    EXPECT_EQ(read.MapName, "level");
    EXPECT_EQ(read.Map, snapshot.document.Map);
    EXPECT_EQ(fields.widthText(), "$3");
    // Written again over the first: still one file.
    snapshot.document.Map[0][0] = 9;
    core::writeRecoveryCopy(state, "copy.quarvel", snapshot);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(state), {}), 1);
}

TEST(RecoveryCopy, ASnapshotHoldsWhatTheProjectFileHoldsAndNotTheSheet) {
    core::EditorState document;
    document.MapName = "m";
    document.TileSheet.width = document.TileSheet.height = 8;
    document.TileSheet.pixels.assign(64, 0xFF112233u);
    document.Map[3][4] = 7;
    const core::RecoverySnapshot snapshot = core::snapshotOf(document, "32", "$20");
    EXPECT_EQ(snapshot.document.Map, document.Map);
    EXPECT_EQ(snapshot.document.MapName, "m");
    EXPECT_EQ(snapshot.widthText, "32");
    EXPECT_EQ(snapshot.heightText, "$20");
    EXPECT_TRUE(snapshot.document.TileSheet.pixels.empty()) << "the sheet's pixels stay out";
}

TEST(RecoveryCopy, IsOfferedOnlyWhenNewerThanTheProject) {
    const TempFolder folder;
    const std::string project = folder.write("p.quarvel", "x");
    const std::string copy = folder.write("c.quarvel", "y");
    const auto setTime = [](const std::string& path, std::int64_t seconds) {
        const std::chrono::sys_seconds at{std::chrono::seconds(seconds)};
        std::filesystem::last_write_time(std::filesystem::u8path(path), std::chrono::file_clock::from_sys(at));
    };
    setTime(project, 1000000);
    setTime(copy, 1000100);
    EXPECT_TRUE(core::recoveryCopyIsNewer(copy, project));
    EXPECT_EQ(core::fileTime(copy), 1000100);
    setTime(copy, 999000);
    EXPECT_FALSE(core::recoveryCopyIsNewer(copy, project));
    EXPECT_TRUE(core::recoveryCopyIsNewer(copy, folder.file("gone.quarvel"))) << "the project is gone";
    EXPECT_FALSE(core::recoveryCopyIsNewer(folder.file("none.quarvel"), project));
    core::removeRecoveryCopy(copy);
    EXPECT_FALSE(core::fileTime(copy));
    EXPECT_NO_THROW(core::removeRecoveryCopy(copy)) << "a copy that is not there";
}

TEST(RecoveryCopy, AFolderThatCannotBeMadeIsAnIoFailure) {
    const TempFolder folder;
    folder.write("blocked", "a file where the folder would be");
    core::RecoverySnapshot snapshot;
    EXPECT_THROW(core::writeRecoveryCopy(folder.file("blocked/recovery"), "c.quarvel", snapshot), core::IoFailure);
}

}  // namespace

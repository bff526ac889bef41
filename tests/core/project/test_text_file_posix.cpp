// The safe writer on a POSIX system: modes, the umask, links, sticky folders, a
// file-size limit and descriptors.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/project/text_file_reader.h"
#include "core/project/text_file_writer.h"
#include "core/text/failures.h"
#include "support/io_failure_number.h"
#include "support/posix_files.h"
#include "support/temp_folder.h"

namespace {

using testsupport::ioNumberOf;
using testsupport::readAll;
using testsupport::TempFolder;

TEST(TextFileWriter, ReplacingKeepsThePermissionsAndANewFileFollowsTheUmask) {
    const TempFolder folder;
    const std::string existing = folder.write("existing.txt", "x");
    ASSERT_EQ(::chmod(existing.c_str(), 0640), 0);
    const mode_t previousMask = ::umask(027);
    core::TextFileWriter replacing(existing);
    replacing.writeLine("y");
    replacing.commit();
    core::TextFileWriter creating(folder.file("new.txt"));
    creating.writeLine("z");
    creating.commit();
    ::umask(previousMask);

    struct stat info {};
    ASSERT_EQ(::stat(existing.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    ASSERT_EQ(::stat(folder.file("new.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);  // 0666 & ~027
}

TEST(TextFileWriter, ASymbolicLinkIsFollowedAndKept) {
    const TempFolder folder;
    std::filesystem::create_directory(folder.file("real"));
    const std::string real = folder.write("real/target.txt", "old");
    const std::string link = folder.file("link.txt");
    ASSERT_EQ(::symlink("real/target.txt", link.c_str()), 0);
    core::TextFileWriter out(link);
    out.writeLine("new");
    out.commit();
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readAll(real), "new\r\n");
    EXPECT_EQ(folder.entryCount(), 2u);
}

// The kernel's rule for links in sticky, world-writable folders such as /tmp: a link
// is followed only when the writer or the folder's owner owns it.
TEST(TextFileWriter, ALinkPlantedByAnotherUserInAStickyFolderIsNotFollowed) {
    if (::geteuid() != 0) GTEST_SKIP() << "giving a link to another user needs root";
    const TempFolder folder;
    const std::string sticky = folder.file("shared");
    std::filesystem::create_directory(sticky);
    ASSERT_EQ(::chmod(sticky.c_str(), 01777), 0);
    std::filesystem::create_directory(folder.file("private"));
    const std::string secret = folder.write("private/secret", "root only");
    const auto linkOwnedBy = [&](const std::string& name, uid_t owner, const char* to = "../private/secret") {
        const std::string link = sticky + "/" + name;
        EXPECT_EQ(::symlink(to, link.c_str()), 0);
        EXPECT_EQ(::lchown(link.c_str(), owner, owner), 0);
        return link;
    };
    const auto write = [](const std::string& path) {
        return ioNumberOf([&] {
            core::TextFileWriter out(path);
            out.writeLine("new");
            out.commit();
        });
    };
    const uid_t nobody = 65534;
    const std::string planted = linkOwnedBy("planted", nobody);
    EXPECT_EQ(write(planted), 5);
    EXPECT_EQ(write(linkOwnedBy("folder", nobody, "../private") + "/secret"), 5);  // a link to a folder too
    EXPECT_EQ(readAll(secret), "root only");
    EXPECT_TRUE(std::filesystem::is_symlink(planted));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(sticky), {}), 2);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.file("private")), {}), 1);

    // The folder's owner's link is followed, and so is any link once the folder is not sticky.
    EXPECT_EQ(write(linkOwnedBy("owners", 0)), 0);
    EXPECT_EQ(readAll(secret), "new\r\n");
    ASSERT_EQ(::chmod(sticky.c_str(), 0777), 0);
    ASSERT_EQ(::unlink(secret.c_str()), 0);
    EXPECT_EQ(write(planted), 0);  // a link to a missing file makes it
    EXPECT_EQ(readAll(secret), "new\r\n");
}

// Permission bits do not stop root, so the read-only cases use the immutable
// attribute where the filesystem has it, and the mode bits otherwise.
bool makeReadOnly(const std::string& path, bool folder) {
    if (::geteuid() != 0) return ::chmod(path.c_str(), folder ? 0555 : 0444) == 0;
    return std::system(("chattr +i '" + path + "' 2>/dev/null").c_str()) == 0;
}
void makeWritable(const std::string& path) {
    if (::geteuid() == 0) std::system(("chattr -i '" + path + "' 2>/dev/null").c_str());
    ::chmod(path.c_str(), 0755);
}

TEST(TextFileWriter, AReadOnlyTargetOrFolderFailsWith5AndStaysIntact) {
    const TempFolder folder;
    const std::string target = folder.write("locked.txt", "old");
    if (!makeReadOnly(target, false)) GTEST_SKIP() << "no way to make a file read-only for this user here";
    EXPECT_EQ(ioNumberOf([&] { core::TextFileWriter out(target); }), 5);
    makeWritable(target);
    EXPECT_EQ(readAll(target), "old");

    std::filesystem::create_directory(folder.file("ro"));
    const std::string inside = folder.write("ro/file.txt", "old");
    if (!makeReadOnly(folder.file("ro"), true)) GTEST_SKIP() << "no way to make a folder read-only here";
    EXPECT_EQ(ioNumberOf([&] { core::TextFileWriter out(inside); }), 5);
    makeWritable(folder.file("ro"));
    EXPECT_EQ(readAll(inside), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.file("ro")), {}), 1);
}

// A file-size limit makes the disk "full" part-way through, without a mount.
TEST(TextFileWriter, AWriteFailingPartWayKeepsTheOldFileAndRemovesTheTemporary) {
    const TempFolder folder;
    const std::string target = folder.write("project.txt", "old project");
    int number = 0;
    {
        testsupport::FileSizeLimit limit(64 * 1024);
        ASSERT_TRUE(limit.applied());
        number = ioNumberOf([&] {
            core::TextFileWriter out(target);
            const std::vector<std::uint16_t> cells(400000, 12345);
            out.writeNumberLines(cells.data(), cells.size());
            out.commit();
        });
    }
    EXPECT_EQ(number, 112);
    EXPECT_EQ(readAll(target), "old project");
    EXPECT_EQ(folder.entryCount(), 1u);
}

TEST(TextFileWriter, ADescriptorIsWrittenWithoutClosingIt) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    {
        auto out = core::TextFileWriter::toDescriptor(ends[1]);
        out.writeLine("to");
        const std::uint16_t cell = 42;
        out.writeNumberLines(&cell, 1);
        out.commit();
    }
    EXPECT_EQ(::write(ends[1], "!", 1), 1);  // still open
    ::close(ends[1]);
    std::string got(64, '\0');
    got.resize(static_cast<std::size_t>(::read(ends[0], got.data(), got.size())));
    ::close(ends[0]);
    EXPECT_EQ(got, "to\r\n42\r\n!");

    const int full = ::open("/dev/full", O_WRONLY);
    if (full < 0) GTEST_SKIP() << "/dev/full is not there";
    auto out = core::TextFileWriter::toDescriptor(full);
    out.writeLine("x");
    EXPECT_EQ(ioNumberOf([&] { out.commit(); }), 112);
    EXPECT_EQ(ioNumberOf([&] { out.writeLine("y"); }), 112);  // stays failed
    ::close(full);
}

// Where the system offers unnamed temporary files, nothing is named before commit.
TEST(TextFileWriter, NothingIsNamedBeforeCommitWhereTheSystemOffersUnnamedFiles) {
    const TempFolder folder;
    if (!testsupport::unnamedTemporaryFilesWork(folder.path())) GTEST_SKIP() << "no unnamed temporary files here";
    const std::string target = folder.write("out.txt", "old");
    core::TextFileWriter out(target);
    out.writeLine("first");
    EXPECT_EQ(folder.entryCount(), 1u);
    out.commit();
    EXPECT_EQ(readAll(target), "first\r\n");
}

}  // namespace

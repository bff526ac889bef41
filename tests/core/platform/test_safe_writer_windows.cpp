// The safe writer and the reader on Windows: the failures a Windows user meets, by
// their numbers, and names of any script.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "core/platform/regular_file.h"
#include "core/project/text_file_reader.h"
#include "core/project/text_file_writer.h"
#include "core/text/failures.h"
#include "support/io_failure_number.h"
#include "support/temp_folder.h"

namespace {

using testsupport::ioNumberOf;
using testsupport::readAll;
using testsupport::TempFolder;

void save(const std::string& path, const std::string& line) {
    core::TextFileWriter out(path);
    out.writeLine(line);
    out.commit();
}

std::wstring wide(const std::filesystem::path& path) { return path.wstring(); }

TEST(WindowsSafeWriter, ReplacesTheFileWholeAndLeavesNoTemporary) {
    const TempFolder folder;
    const std::string target = folder.write("map.quarvel", "old");
    save(target, "new");
    EXPECT_EQ(readAll(target), "new\r\n");
    save(folder.file("fresh.quarvel"), "first");
    EXPECT_EQ(readAll(folder.file("fresh.quarvel")), "first\r\n");
    EXPECT_EQ(folder.entryCount(), 2u);
}

TEST(WindowsSafeWriter, AnAbandonedWriterLeavesTheOldFileAndNothingElse) {
    const TempFolder folder;
    const std::string target = folder.write("keep.txt", "old contents");
    {
        core::TextFileWriter out(target);
        for (int i = 0; i < 300000; ++i) out.writeLine("new line");
        EXPECT_EQ(folder.entryCount(), 2u) << "the temporary file sits beside the target";
    }
    EXPECT_EQ(readAll(target), "old contents");
    EXPECT_EQ(folder.entryCount(), 1u);
}

// The system removes the temporary file with the process: nothing is left to sweep.
TEST(WindowsSafeWriterDeathTest, AKilledWriterLeavesNothing) {
    const TempFolder folder;
    const std::string target = folder.write("keep.txt", "old");
    EXPECT_EXIT(
        {
            core::TextFileWriter out(target);
            for (int i = 0; i < 100000; ++i) out.writeLine("half written");
            ::TerminateProcess(::GetCurrentProcess(), 7);
        },
        ::testing::ExitedWithCode(7), "");
    EXPECT_EQ(readAll(target), "old");
    EXPECT_EQ(folder.entryCount(), 1u);
}

TEST(WindowsSafeWriter, FailuresHaveTheSystemsNumbers) {
    const TempFolder folder;
    const std::string locked = folder.write("locked.txt", "old");
    ASSERT_TRUE(::SetFileAttributesW(wide(folder / "locked.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(ioNumberOf([&] { core::TextFileWriter out(locked); }), 5) << "a read-only file";
    ::SetFileAttributesW(wide(folder / "locked.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(readAll(locked), "old");

    EXPECT_EQ(ioNumberOf([&] { core::TextFileWriter out(folder.file("nofolder/x.txt")); }), 3);
    EXPECT_EQ(ioNumberOf([&] { core::TextFileReader in(folder.file("nofolder/x.txt")); }), 3);
    EXPECT_EQ(ioNumberOf([&] { core::TextFileReader in(folder.file("missing.txt")); }), 2);
    EXPECT_EQ(ioNumberOf([&] { core::TextFileWriter out(folder.file("a:b.txt")); }), 123) << "a name holding ':'";
    EXPECT_EQ(ioNumberOf([&] { core::TextFileWriter out(folder.file(std::string("a\0b", 3))); }), 123);
    std::filesystem::create_directory(folder / "sub");
    EXPECT_EQ(ioNumberOf([&] { core::TextFileWriter out(folder.file("sub")); }), 5) << "a folder";
    EXPECT_EQ(folder.entryCount(), 2u) << "no failure leaves a file behind";
}

// Another program holding the file open without sharing it: 32, and the file as it was.
TEST(WindowsSafeWriter, AFileHeldOpenWithoutSharingIs32) {
    const TempFolder folder;
    const std::string target = folder.write("held.quarvel", "old");
    const HANDLE held = ::CreateFileW(wide(folder / "held.quarvel").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ioNumberOf([&] { save(target, "new"); }), 32);
    EXPECT_EQ(ioNumberOf([&] { core::TextFileReader in(target); }), 32);
    ::CloseHandle(held);
    EXPECT_EQ(readAll(target), "old");
    EXPECT_EQ(folder.entryCount(), 1u);
}

TEST(WindowsSafeWriter, TheNulDeviceIsWrittenInPlace) {
    EXPECT_EQ(ioNumberOf([] { save("NUL", "gone"); }), 0);
    EXPECT_THROW(core::RegularFile file("NUL"), core::NotRegularFile);
}

// Names are UTF-8 in core and UTF-16 to the system: Japanese ones, and ones that
// code page 932 has no form for, open and save.
TEST(WindowsSafeWriter, NamesOfAnyScriptOpenAndSave) {
    const TempFolder folder;
    for (const std::string name : {"\xE5\x9C\xB0\xE5\x9B\xB3.quarvel", "\xC3\xA9t\xC3\xA9\xF0\x9F\x97\xBA.txt"}) {
        save(folder.file(name), "line");
        EXPECT_TRUE(std::filesystem::exists(folder / name)) << name;
        core::TextFileReader in(folder.file(name));
        EXPECT_EQ(in.readLine(), "line");
    }
}

}  // namespace

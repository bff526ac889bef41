// A project file of huge lines read under an address-space limit.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <string>

#include "core/project/integer_syntax.h"
#include "core/project/project_file.h"
#include "core/text/failures.h"
#include "support/cp932.h"
#include "support/data_cases.h"
#include "support/plain_size_fields.h"
#include "support/temp_folder.h"

namespace {

using core::EditorState;
using testsupport::PlainSizeFields;
using testsupport::TempFolder;

// A line of any length costs no more than the 64 KiB a header line keeps: an image
// path and a cell line of 256 MB each (sparse files of zero bytes), under a memory
// limit far below that. Exit code 0 when the read went through.
int readHugeLinesUnderAMemoryLimit(const std::string& path) {
    constexpr off_t kHuge = off_t{256} << 20;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const std::string middle = "\nlabel\n2\n1\n5";
    const std::string end = "\n6\n";
    if (::pwrite(fd, middle.data(), middle.size(), kHuge) != static_cast<ssize_t>(middle.size()) ||
        ::pwrite(fd, end.data(), end.size(), 2 * kHuge) != static_cast<ssize_t>(end.size()) || ::close(fd) != 0)
        return 2;
    const rlimit limit{256u << 20, 256u << 20};
    if (::setrlimit(RLIMIT_AS, &limit) != 0) return 2;
    EditorState state;
    PlainSizeFields fields(state);
    core::readProject(path, state, fields);
    const bool read = state.ImagePath == std::string(64 * 1024, '\0') && state.MapName == "label" &&
                      state.Map == core::TileMap{{5, 6}};
    return read ? 0 : 1;
}

TEST(ProjectFileDeathTest, HugeLinesReadUnderAMemoryLimit) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer's allocator ends the process on a failed allocation instead of raising bad_alloc";
#endif
    const TempFolder folder;
    EXPECT_EXIT(std::exit(readHugeLinesUnderAMemoryLimit(folder.file("huge.quarvel"))), ::testing::ExitedWithCode(0), "");
}

// A pipe or a device may block, never end, or read differently a second time.
TEST(ProjectFileRead, APipeOrADeviceIsRefusedAndChangesNothing) {
    const TempFolder folder;
    const std::string fifo = folder.file("fifo.quarvel");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int writer = ::open(fifo.c_str(), O_RDWR);
    const std::string project = "a.bmp\r\nm\r\n1\r\n1\r\n5\r\n";
    ASSERT_EQ(::write(writer, project.data(), project.size()), static_cast<ssize_t>(project.size()));
    for (const std::string& path : {fifo, std::string("/dev/null")}) {
        EditorState state;
        state.MapName = "old";
        PlainSizeFields fields(state);
        try {
            core::readProject(path, state, fields);
            ADD_FAILURE() << path << " was read";
        } catch (const core::Failure& failure) {
            EXPECT_EQ(testsupport::utf8(core::textToShow(failure)), "ファイルへのアクセスが拒否されました.");
        }
        EXPECT_EQ(state.MapName, "old");
        EXPECT_EQ(state.Map, core::TileMap(32, 32));
    }
    ::close(writer);
}

}  // namespace

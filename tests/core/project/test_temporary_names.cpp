// The safe writer's temporary names, and the next save removing those a killed
// writer left behind.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/platform/atomic_file.h"
#include "core/platform/temporary_names.h"
#include "core/text/failures.h"
#include "support/temp_folder.h"

namespace {

using testsupport::TempFolder;

// The id of a process that has ended and been reaped.
long goneProcess() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

void save(const std::string& path, const std::string& bytes) {
    core::AtomicFile file(path);
    file.write(bytes.data(), bytes.size());
    file.commit();
}

TEST(TemporaryNames, NamesTellTheirWriter) {
    EXPECT_EQ(core::temporaryFileName("map.quarvel", 4321, 77), ".map.quarvel.tmp-4321-77");
    EXPECT_EQ(core::temporaryFileWriter(core::temporaryFileName("map.quarvel", 4321, 77)), 4321);
    EXPECT_EQ(core::temporaryFileWriter(core::temporaryFileName(std::string(300, 'n'), 12, 0)), 12);
    EXPECT_EQ(core::temporaryFileName(std::string(300, 'n'), 12, 0).size(), 1 + 200 + 9);
    for (const char* other : {"map.quarvel.tmp-12-3", ".map.quarvel", ".map.tmp-12", ".map.tmp--3", ".map.tmp-12-",
                              ".map.tmp-1x-3", ".map.tmp-12-3b", ".tmp-12-3", ".map.tmp-12345678901-3"})
        EXPECT_FALSE(core::temporaryFileWriter(other)) << other;
}

TEST(TemporaryNames, ASaveRemovesOnlyTheTemporaryFilesWhoseWriterIsGone) {
    const TempFolder folder;
    const long gone = goneProcess();
    const std::string stale = folder.write(core::temporaryFileName("other.quarvel", gone, 5), "half a file");
    const std::string staleOfTarget = folder.write(core::temporaryFileName("map.quarvel", gone, 9), "half");
    const std::string running = folder.write(core::temporaryFileName("map.quarvel", ::getppid(), 1), "being written");
    const std::string unrelated = folder.write("notes.txt", "mine");
    const std::string staleFolder = folder.file(core::temporaryFileName("dir", gone, 1));
    ASSERT_EQ(::mkdir(staleFolder.c_str(), 0700), 0);

    save(folder.file("map.quarvel"), "saved");

    struct stat info {};
    EXPECT_NE(::stat(stale.c_str(), &info), 0);
    EXPECT_NE(::stat(staleOfTarget.c_str(), &info), 0);
    EXPECT_EQ(::stat(running.c_str(), &info), 0) << "its writer still runs";
    EXPECT_EQ(::stat(unrelated.c_str(), &info), 0);
    EXPECT_EQ(::stat(staleFolder.c_str(), &info), 0) << "only regular files are removed";
    EXPECT_EQ(testsupport::readAll(folder.file("map.quarvel")), "saved");
}

TEST(TemporaryNames, APipeWithoutReaderIsNoFileToWrite) {
    const TempFolder folder;
    const std::string fifo = folder.file("out.c");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    try {
        save(fifo, "data");
        ADD_FAILURE() << "written";
    } catch (const core::IoFailure& failure) {
        EXPECT_EQ(failure.number(), 2);
    }
}

}  // namespace

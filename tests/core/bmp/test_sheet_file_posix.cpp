// Sheets that only a POSIX system can make: pipes, devices, sparse files under a
// memory limit.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>

#include "core/bmp/bmp.h"
#include "core/bmp/sheet_file.h"
#include "core/text/failures.h"
#include "support/bmp_file_builder.h"
#include "support/sheet_samples.h"
#include "support/temp_folder.h"

namespace {

using testsupport::BmpFields;
using testsupport::TempFolder;
using testsupport::largeSheet;
using testsupport::runLengthRow;
using testsupport::samePixels;

TEST(SheetFile, AnythingButARegularFileIsTheFileOpenFailureAtOnce) {
    const TempFolder folder;
    const std::string fifo = folder.file("pipe.bmp");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string withNul = folder.write("a.bmp", largeSheet()) + std::string("\0.bmp", 5);
    for (const std::string& path : {std::string("/dev/zero"), fifo, folder.path(), folder.file("missing.bmp"),
                                    withNul, std::string()}) {
        const auto start = std::chrono::steady_clock::now();
        try {
            core::readSheetFile(path, "NAME");
            ADD_FAILURE() << path << " was read";
        } catch (const core::FileOpenFailure& failure) {
            EXPECT_NE(core::failureText(failure).find("NAME"), std::string::npos);
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << path;
    }
}

// Exit code 0 when `read` went through under an address-space limit of 192 MiB
// above what the process maps now, and within a second.
template <typename Read>
int underMemoryLimit(Read read) {
    rlimit limit{};
    std::FILE* status = std::fopen("/proc/self/statm", "r");
    unsigned long pages = 0;
    if (!status || std::fscanf(status, "%lu", &pages) != 1) return 2;
    std::fclose(status);
    limit.rlim_cur = limit.rlim_max = pages * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + (rlim_t{192} << 20);
    if (::setrlimit(RLIMIT_AS, &limit) != 0) return 2;
    const auto start = std::chrono::steady_clock::now();
    const bool read_ = read();
    return read_ && std::chrono::steady_clock::now() - start < std::chrono::seconds(1) ? 0 : 1;
}

// A sparse 2 GiB file: only the headers and the pixels they call for are read.
int readHugeSparseFiles(const TempFolder& folder) {
    const std::string small = largeSheet();
    const std::string path = folder.file("huge.bmp"), zeros = folder.file("zeros.bmp");
    for (const std::string& file : {path, zeros}) {
        const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd < 0 || ::ftruncate(fd, off_t{2} << 30) != 0) return 2;
        if (file == path && ::pwrite(fd, small.data(), small.size(), 0) != static_cast<ssize_t>(small.size()))
            return 2;
        ::close(fd);
    }
    return underMemoryLimit([&] {
        try {
            core::readSheetFile(zeros, "zeros");
            return false;
        } catch (const core::InvalidBitmapFailure&) {
        }
        return samePixels(core::readSheetFile(path, "huge"), core::decodeBmp(small));
    });
}

// The size is admitted before any pixel memory is taken: a 1 KB file claiming
// 67108864 × 1 pixels (256 MiB) is refused by the caller's check, not by the limit.
int admitBeforeAllocating(const TempFolder& folder) {
    const std::string path = folder.write("row.bmp", runLengthRow(67108864));
    return underMemoryLimit([&] {
        std::int32_t seenWidth = 0;
        try {
            core::readSheetFile(path, "row", [&](std::int32_t width, std::int32_t) {
                seenWidth = width;
                throw std::runtime_error("refused");
            });
        } catch (const std::runtime_error&) {
            return seenWidth == 67108864;
        } catch (const core::Failure&) {
        }
        return false;
    });
}

TEST(SheetFileDeathTest, HugeFilesCostNeitherTimeNorMemory) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves far more address space than the limit";
#endif
    const TempFolder folder;
    EXPECT_EXIT(std::exit(readHugeSparseFiles(folder)), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(std::exit(admitBeforeAllocating(folder)), ::testing::ExitedWithCode(0), "");
}

}  // namespace

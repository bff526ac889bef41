// Reading a tile sheet from its file: what a regular file decodes to, and the files
// that are refused at once or read only in part.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <gtest/gtest.h>
#include <stdexcept>

#include "core/bmp/bmp.h"
#include "core/bmp/sheet_file.h"
#include "core/text/failures.h"
#include "support/bmp_file_builder.h"
#include "support/temp_folder.h"

namespace {

using testsupport::BmpFields;
using testsupport::TempFolder;

// A 24-bit sheet whose pixels differ, large enough that its pixels lie past the head.
std::string largeSheet(std::uint32_t imageSize = 0) {
    BmpFields fields;
    fields.width = 300;
    fields.height = 100;
    fields.imageSize = imageSize;
    for (int i = 0; i < 300 * 100; ++i) testsupport::putLittleEndian(fields.pixels, 0x10203u * i, 3);
    return testsupport::buildBmp(fields);
}

// An 8-bit run-length sheet of `width` × 1 pixels in a few bytes: one run of colour 1.
std::string runLengthRow(std::int32_t width) {
    BmpFields fields;
    fields.width = width;
    fields.bitsPerPixel = 8;
    fields.compression = 1;
    fields.palette = {0x000000, 0xFF0000};
    fields.coloursUsed = 2;
    fields.pixels = std::string("\x10\x01\x00\x01", 4);
    return testsupport::buildBmp(fields);
}

bool samePixels(const core::Bitmap& a, const core::Bitmap& b) {
    return a.width == b.width && a.height == b.height && a.pixels == b.pixels;
}

TEST(SheetFile, DecodesAsTheWholeFileDoes) {
    const TempFolder folder;
    for (const std::string& bytes : {largeSheet(), largeSheet(4u << 20), runLengthRow(40), std::string()}) {
        const std::string path = folder.write("sheet.bmp", bytes);
        EXPECT_TRUE(samePixels(core::readSheetFile(path, "sheet.bmp"), core::decodeBmp(bytes))) << bytes.size();
    }
    // A file cut short inside its pixels decodes as the bytes it holds.
    const std::string cut = largeSheet().substr(0, 70000);
    EXPECT_TRUE(samePixels(core::readSheetFile(folder.write("cut.bmp", cut), "cut.bmp"), core::decodeBmp(cut)));
}

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

TEST(SheetFile, AHeaderClaimingMoreThan64KiBIsNoBitmap) {
    BmpFields fields;
    fields.headerSize = 64 * 1024 + 4;
    fields.pixels = "\1\2\3";
    EXPECT_THROW(core::decodeBmp(testsupport::buildBmp(fields)), core::InvalidBitmapFailure);
    fields.headerSize = 64 * 1024;
    EXPECT_EQ(core::decodeBmp(testsupport::buildBmp(fields)).width, 1);
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

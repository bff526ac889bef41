// Loading sheets that only a POSIX system makes or measures: devices and pipes, and
// the memory a load costs, from /proc.
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <string>

#include "test_sheet_window.h"

namespace sheettest {
namespace {

QString failureText(const char* utf8) { return QString::fromUtf8(utf8); }

// An 8-bit run-length sheet of width × height pixels that ends at once: 1 KB of
// file, every pixel black.
QByteArray emptyRunLengthSheet(std::int32_t width, std::int32_t height) {
    testsupport::BmpFields fields;
    fields.width = width;
    fields.height = height;
    fields.bitsPerPixel = 8;
    fields.compression = 1;
    fields.palette.assign(256, 0x000000);
    fields.pixels = std::string("\0\1", 2);
    return QByteArray::fromStdString(testsupport::buildBmp(fields));
}

// The process's peak and present resident size in bytes, from /proc/self/status.
long long statusBytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0) return std::stoll(line.substr(std::string(field).size())) * 1024;
    return -1;
}
// Writing 5 to clear_refs starts the peak afresh from the present size.
bool resetPeak() { return static_cast<bool>(std::ofstream("/proc/self/clear_refs") << "5"); }

TEST_F(SheetWindowTest, DevicesPipesAndImpossibleNamesAreRefusedAtOnce) {
    chooseSheet(writeFile(folder, "good.bmp", bmp24(24, 16)));
    const QString fifo = folder.filePath("pipe.bmp");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    for (const QString& path : {QStringLiteral("/dev/zero"), fifo, folder.filePath("good.bmp") + QChar(0) + "x"}) {
        dialogs.clear();
        const auto start = std::chrono::steady_clock::now();
        chooseSheet(path);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << path.toStdString();
        EXPECT_EQ(dialogs.failures(), QStringList{failureText("ファイル ") + path + failureText(" は開けません.")});
        EXPECT_TRUE(sheetIsClean(form->TileSheet));
        EXPECT_TRUE(isFrameOutline(shown(), 8, 0, 16, 8));
    }
}

TEST_F(SheetWindowTest, ASheetNoPictureCanHoldIsRefusedBeforeItsPixelsAreMade) {
    chooseSheet(writeFile(folder, "good.bmp", bmp24(24, 16)));
    const QString row = writeFile(folder, "row.bmp", emptyRunLengthSheet(67108864, 1));
    ASSERT_TRUE(resetPeak());
    const long long before = statusBytes("VmRSS:");
    chooseSheet(row);
    EXPECT_EQ(dialogs.failures(), QStringList{failureText("メモリが足りません.")});
    EXPECT_LT(statusBytes("VmHWM:") - before, 50ll << 20) << "the 256 MiB of pixels were made";
    EXPECT_TRUE(sheetIsClean(form->TileSheet));
    EXPECT_TRUE(isFrameOutline(shown(), 8, 0, 16, 8));
}

// 8192 × 8192 pixels are 256 MiB as a sheet and as many as a picture: the load holds
// no third copy at its peak, and keeps two.
TEST_F(SheetWindowTest, ALargeSheetCostsTwiceItsPixelsAtMost) {
    constexpr long long kPixels = 256ll << 20;
    const QString sheet = writeFile(folder, "large.bmp", emptyRunLengthSheet(8192, 8192));
    ASSERT_TRUE(resetPeak());
    const long long before = statusBytes("VmRSS:");
    chooseSheet(sheet);
    ASSERT_TRUE(dialogs.failures().isEmpty()) << dialogs.failures().join("\n").toStdString();
    EXPECT_EQ(form->TileSheet.width, 8192);
    EXPECT_LT(statusBytes("VmHWM:") - before, 2 * kPixels + (kPixels / 10));
    EXPECT_LT(statusBytes("VmRSS:") - before, 2 * kPixels + (kPixels / 10));
    EXPECT_EQ(shown().size(), QSize(8192, 8192));
}

}  // namespace
}  // namespace sheettest

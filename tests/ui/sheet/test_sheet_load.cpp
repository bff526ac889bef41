// Loading the tile sheet through the load-sheet command and LoadImage.
#include <QLineEdit>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <string>

#include "core/text/failures.h"
#include "support/cp932.h"
#include "test_sheet_window.h"
#include "ui/toolkit/Cp932.h"

namespace sheettest {
namespace {

QString failureText(const char* utf8) { return QString::fromUtf8(utf8); }

TEST_F(SheetWindowTest, FirstLoadFramesTileOneAndKeepsTheSheetClean) {
    const QString path = writeFile(folder, "sheet.bmp", bmp24(32, 16));
    chooseSheet(path);

    EXPECT_TRUE(dialogs.failures().isEmpty()) << dialogs.failures().join("\n").toStdString();
    EXPECT_EQ(form->ImagePath, ui::toCp932(path));
    EXPECT_EQ(form->SheetColumns, 4);
    EXPECT_EQ(form->Edit4->text(), "4");
    EXPECT_TRUE(form->Modified);
    EXPECT_EQ(form->Image1->size(), QSize(32, 16));
    EXPECT_TRUE(isFrameOutline(shown(), 8, 0, 16, 8));
    EXPECT_TRUE(sheetIsClean(form->TileSheet));
    // The view grows with the sheet, so the scroll range can follow it.
    EXPECT_EQ(form->Image1->geometry(), QRect(16, 88, 32, 16));
}

TEST_F(SheetWindowTest, PartialColumnBelongsToNoTileButStillPicks) {
    chooseSheet(writeFile(folder, "wide.bmp", bmp24(100, 24)));
    EXPECT_EQ(form->SheetColumns, 12);
    EXPECT_EQ(form->Edit4->text(), "12");

    form->Image1MouseDown(Qt::RightButton, Qt::NoModifier, 99, 9);
    EXPECT_EQ(form->SelectedTile, 24);
    EXPECT_EQ(form->Edit1->text(), "24");
    // Tile 24 is the first of row 2.
    EXPECT_TRUE(isFrameOutline(shown(), 0, 16, 8, 24));
}

TEST_F(SheetWindowTest, SheetNarrowerThanATileLoadsWithoutColumnsOrFrame) {
    chooseSheet(writeFile(folder, "narrow.bmp", bmp24(5, 10)));
    EXPECT_TRUE(dialogs.failures().isEmpty());
    EXPECT_EQ(form->SheetColumns, 0);
    EXPECT_EQ(form->Edit4->text(), "0");
    EXPECT_EQ(form->Image1->size(), QSize(5, 10));
    EXPECT_TRUE(showsCleanSheet(shown()));
    // Picking on it divides by no column count and still draws nothing.
    form->Image1MouseDown(Qt::LeftButton, Qt::NoModifier, 4, 9);
    EXPECT_EQ(form->SelectedTile, 0);
    EXPECT_TRUE(showsCleanSheet(shown()));
}

TEST_F(SheetWindowTest, EmptyFileGivesAnEmptySheet) {
    chooseSheet(writeFile(folder, "sheet.bmp", bmp24(16, 16)));
    form->Modified = false;
    chooseSheet(writeFile(folder, "empty.bmp", QByteArray()));

    EXPECT_TRUE(dialogs.failures().isEmpty());
    EXPECT_EQ(form->Edit4->text(), "0");
    EXPECT_EQ(form->SheetColumns, 0);
    EXPECT_EQ(form->Image1->size(), QSize(0, 0));
    EXPECT_TRUE(form->Modified);
    EXPECT_TRUE(form->TileSheet.empty());
    EXPECT_TRUE(shown().isNull());
}

TEST_F(SheetWindowTest, FailedLoadKeepsThePreviousSheetUsable) {
    const QString good = writeFile(folder, "good.bmp", bmp24(24, 16));
    chooseSheet(good);
    form->Modified = false;
    const QString icon = writeFile(folder, "picture.ico", iconFile());
    chooseSheet(icon);

    EXPECT_EQ(dialogs.failures(), QStringList{failureText("ビットマップイメージが不正です.")});
    EXPECT_EQ(form->ImagePath, ui::toCp932(icon));
    EXPECT_EQ(form->SheetColumns, 3);
    EXPECT_EQ(form->Edit4->text(), "3");
    EXPECT_FALSE(form->Modified);
    EXPECT_EQ(form->Image1->size(), QSize(24, 16));
    EXPECT_TRUE(sheetIsClean(form->TileSheet));
    EXPECT_TRUE(isFrameOutline(shown(), 8, 0, 16, 8));

    form->Image1MouseDown(Qt::LeftButton, Qt::NoModifier, 17, 9);
    EXPECT_EQ(form->SelectedTile, 5);
    EXPECT_TRUE(isFrameOutline(shown(), 16, 8, 24, 16));
}

TEST_F(SheetWindowTest, FileThatCannotBeOpenedIsNamedInTheFailure) {
    const QString missing = folder.filePath("missing.bmp");
    chooseSheet(missing);
    EXPECT_EQ(dialogs.failures(),
              QStringList{failureText("ファイル ") + missing + failureText(" は開けません.")});
    EXPECT_EQ(form->ImagePath, ui::toCp932(missing));
    EXPECT_FALSE(form->Modified);

    // A folder is no sheet file either.
    dialogs.clear();
    chooseSheet(folder.path());
    EXPECT_EQ(dialogs.failures().size(), 1);
    EXPECT_TRUE(form->TileSheet.empty());

    // An empty path leaves two blanks in the message.
    form->ImagePath.clear();
    try {
        form->LoadImage();
        ADD_FAILURE() << "an empty path loaded";
    } catch (const core::FileOpenFailure& failure) {
        EXPECT_EQ(failure.message(), testsupport::cp932("ファイル  は開けません"));
    }
}

TEST_F(SheetWindowTest, PathOutsideTheCodePageIsRefusedBeforeAnythingChanges) {
    chooseSheet(writeFile(folder, "sheet.bmp", bmp24(16, 8)));
    const std::string before = form->ImagePath;
    form->Modified = false;
    // A real, loadable sheet: only the name is wrong for the editor.
    const QString foreign = writeFile(folder, QString::fromUtf8("시트.bmp"), bmp24(64, 8));
    ASSERT_FALSE(foreign.isEmpty());
    chooseSheet(foreign);

    ASSERT_EQ(dialogs.failures().size(), 1);
    EXPECT_TRUE(dialogs.failures().first().startsWith(failureText("ファイル ")));
    EXPECT_TRUE(dialogs.failures().first().endsWith(failureText(" は開けません.")));
    EXPECT_EQ(form->ImagePath, before);
    EXPECT_EQ(form->SheetColumns, 2);
    EXPECT_FALSE(form->Modified);
}

TEST_F(SheetWindowTest, JapaneseFileNamesLoad) {
    const QString path = writeFile(folder, QString::fromUtf8("画像シート.bmp"), bmp24(16, 8));
    ASSERT_FALSE(path.isEmpty());
    chooseSheet(path);
    EXPECT_TRUE(dialogs.failures().isEmpty());
    EXPECT_EQ(form->ImagePath, ui::toCp932(path));
    EXPECT_EQ(form->SheetColumns, 2);
}

TEST_F(SheetWindowTest, CancelChangesNothingAndTheLastNameIsProposed) {
    form->Button1->click();  // no answer queued: cancelled
    EXPECT_TRUE(form->ImagePath.empty());
    EXPECT_FALSE(form->Modified);

    const QString path = writeFile(folder, "sheet.bmp", bmp24(16, 8));
    chooseSheet(path);
    form->Button1->click();
    const auto calls = dialogs.callsOf(ui::ScriptedDialogs::Kind::OpenPicture);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].options.proposedName, QString());
    EXPECT_EQ(calls[2].options.proposedName, path);
    EXPECT_EQ(calls[0].options.title, QString::fromUtf8("画像ファイルを選択"));
    EXPECT_EQ(form->ImagePath, ui::toCp932(path));
}

TEST_F(SheetWindowTest, ReloadShowsTheEditedFile) {
    const QString path = writeFile(folder, "sheet.bmp", bmp24(16, 8));
    chooseSheet(path);
    form->Modified = false;
    ASSERT_EQ(writeFile(folder, "sheet.bmp", bmp24(40, 8)), path);
    // The menu command reloads like the button.
    dialogs.openPictureAnswers.push_back(path);
    form->N4->trigger();
    EXPECT_EQ(form->SheetColumns, 5);
    EXPECT_EQ(form->TileSheet.width, 40);
    EXPECT_TRUE(form->Modified);
    EXPECT_TRUE(isFrameOutline(shown(), 8, 0, 16, 8));
}

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

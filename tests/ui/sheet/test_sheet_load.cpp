// Loading the tile sheet through the load-sheet command and LoadImage.
#include <QLineEdit>

#include <chrono>
#include <fstream>
#include <string>

#include "core/text/failures.h"
#include "support/cp932.h"
#include "test_sheet_window.h"
#include "ui/convert/Cp932.h"

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

}  // namespace
}  // namespace sheettest

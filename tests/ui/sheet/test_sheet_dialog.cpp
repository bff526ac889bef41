// The picture dialog: its file types, how they filter, and the preview pane.
#include <QComboBox>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include "test_sheet_files.h"
#include "ui/sheet/PictureDialog.h"

namespace sheettest {
namespace {

QString u8(const char* text) { return QString::fromUtf8(text); }

class PictureDialogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }
    QTemporaryDir folder;
};

TEST_F(PictureDialogTest, FileTypesInTheirOrderWithTheFirstSelected) {
    ui::PictureDialog dialog(nullptr, ui::pictureDialogOptions(QString()));
    EXPECT_EQ(dialog.windowTitle(), u8("画像ファイルを選択"));
    const QStringList expected{
        u8("すべてのファイル (*.bmp;*.ico;*.emf;*.wmf)"),
        u8("ビットマップ (*.bmp)"),
        u8("アイコン (*.ico)"),
        u8("エンハンス メタファイル (*.emf)"),
        u8("メタファイル (*.wmf)"),
    };
    EXPECT_EQ(dialog.nameFilters(), expected);
    EXPECT_EQ(dialog.selectedNameFilter(), expected.first());
    EXPECT_EQ(dialog.fileMode(), QFileDialog::AnyFile);
}

TEST_F(PictureDialogTest, EachEntryFiltersByItsOwnPatterns) {
    ui::PictureDialog dialog(nullptr, ui::pictureDialogOptions(QString()));
    EXPECT_EQ(dialog.activePatterns(), (QStringList{"*.bmp", "*.ico", "*.emf", "*.wmf"}));
    auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
    ASSERT_NE(types, nullptr);
    types->setCurrentIndex(2);
    emit types->activated(2);
    EXPECT_EQ(dialog.activePatterns(), QStringList{"*.ico"});
}

TEST_F(PictureDialogTest, ProposesTheLastChosenNameAndPreviewsIt) {
    const QString last = writeFile(folder, "last.bmp", bmp24(8, 6));
    ui::PictureDialog dialog(nullptr, ui::pictureDialogOptions(last));
    EXPECT_EQ(dialog.selectedFiles(), QStringList{last});
    EXPECT_EQ(dialog.preview().caption(), " (8x6)");
    EXPECT_TRUE(dialog.preview().previewButton()->isEnabled());
}

TEST_F(PictureDialogTest, PreviewShowsWhatTheDecoderMakesOfTheFile) {
    ui::PicturePreview preview;
    preview.showFile(writeFile(folder, "sheet.bmp", bmp24(3, 2)));
    EXPECT_EQ(preview.caption(), " (3x2)");
    EXPECT_TRUE(preview.previewButton()->isEnabled());
    EXPECT_EQ(preview.previewButton()->toolTip(), u8("プレビュー"));
    ASSERT_EQ(preview.area().picture().size(), QSize(3, 2));
    EXPECT_EQ(preview.area().picture().pixel(2, 1), sheetColour(2, 1));

    preview.showFile(writeFile(folder, "picture.ico", iconFile()));
    EXPECT_EQ(preview.caption(), u8("画像:"));
    EXPECT_EQ(preview.area().text(), u8("画像が不正です"));
    EXPECT_FALSE(preview.previewButton()->isEnabled());

    preview.showFile(writeFile(folder, "notes.txt", "BM"));
    EXPECT_EQ(preview.caption(), u8("画像:"));
    EXPECT_EQ(preview.area().text(), u8("(なし)"));
    EXPECT_FALSE(preview.previewButton()->isEnabled());

    preview.showFile(folder.path());
    EXPECT_EQ(preview.area().text(), u8("(なし)"));
    preview.showFile(QString());
    EXPECT_EQ(preview.area().text(), u8("(なし)"));
}

TEST_F(PictureDialogTest, SelectionInTheDialogUpdatesThePreview) {
    const QString sheet = writeFile(folder, "sheet.bmp", bmp24(5, 4));
    ui::PictureDialog dialog(nullptr, ui::pictureDialogOptions(QString()));
    emit dialog.currentChanged(sheet);
    EXPECT_EQ(dialog.preview().caption(), " (5x4)");
}

}  // namespace
}  // namespace sheettest

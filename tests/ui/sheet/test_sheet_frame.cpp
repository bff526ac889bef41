// Picking tiles on the sheet and the brush-block frame drawn over it.
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QWindow>
#include <climits>

#include "core/text/failures.h"
#include "test_sheet_window.h"

namespace sheettest {
namespace {

class SheetFrameTest : public SheetWindowTest {
protected:
    // A press where the window system would put it: to whatever lies on top there.
    void pressOnWindowAt(QPoint inContent) {
        QWindow* window = form->windowHandle();
        ASSERT_NE(window, nullptr);
        QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, form->content->mapTo(form, inContent));
    }

    void loadSheet(int width, int height) {
        chooseSheet(writeFile(folder, "sheet.bmp", bmp24(width, height)));
        ASSERT_TRUE(dialogs.failures().isEmpty());
    }
};

TEST_F(SheetFrameTest, PressBeforeAnySheetPicksTileZeroAndDrawsNothing) {
    ui::showMainWindow();
    ASSERT_EQ(form->Image1->size(), QSize(1, 1));
    QTest::mouseClick(form->Image1, Qt::LeftButton, Qt::NoModifier, QPoint(0, 0));
    EXPECT_EQ(form->SelectedTile, 0);
    EXPECT_EQ(form->Edit1->text(), "0");
    EXPECT_TRUE(shown().isNull());
    // Without a sheet a cleared width is never converted.
    form->Edit5->setText(QString());
    EXPECT_TRUE(dialogs.failures().isEmpty());
}

TEST_F(SheetFrameTest, EveryButtonPicksThroughTheView) {
    loadSheet(64, 32);
    ui::showMainWindow();
    QTest::mouseClick(form->Image1, Qt::MiddleButton, Qt::ShiftModifier, QPoint(20, 17));
    EXPECT_EQ(form->SelectedTile, 2 + 2 * 8);
    QTest::mouseClick(form->Image1, Qt::RightButton, Qt::NoModifier, QPoint(63, 0));
    EXPECT_EQ(form->SelectedTile, 7);
    EXPECT_TRUE(isFrameOutline(shown(), 56, 0, 64, 8));
    // A move with the button held picks nothing new.
    QTest::mousePress(form->Image1, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
    QTest::mouseMove(form->Image1, QPoint(40, 20));
    QTest::mouseRelease(form->Image1, Qt::LeftButton, Qt::NoModifier, QPoint(40, 20));
    EXPECT_EQ(form->SelectedTile, 0);
}

TEST_F(SheetFrameTest, ClearedWidthFailsAtOnceAndTheFrameGoesUntilItIsAnInteger) {
    loadSheet(32, 16);
    form->Edit5->setText(QString());
    EXPECT_EQ(dialogs.failures(), QStringList{QString::fromUtf8("'' は整数ではありません.")});
    EXPECT_TRUE(showsCleanSheet(shown()));
    form->Edit5->setText("2");
    EXPECT_TRUE(isFrameOutline(shown(), 8, 0, 24, 8));
}

TEST_F(SheetFrameTest, ZeroAndNegativeBlockSizesDrawNothing) {
    loadSheet(32, 16);
    for (const char* size : {"0", "-1", "-3"}) {
        form->Edit5->setText(size);
        EXPECT_TRUE(showsCleanSheet(shown())) << "width " << size;
        form->Edit5->setText("1");
        form->Edit6->setText(size);
        EXPECT_TRUE(showsCleanSheet(shown())) << "height " << size;
        form->Edit6->setText("1");
    }
    EXPECT_TRUE(dialogs.failures().isEmpty());
}

TEST_F(SheetFrameTest, NegativeTileSitsLeftOfTheSheet) {
    loadSheet(128, 16);
    ASSERT_EQ(form->SheetColumns, 16);
    form->Edit1->setText("-1");
    form->Edit1Exit();
    ASSERT_EQ(form->SelectedTile, -1);
    form->DrawFrameTile();
    EXPECT_TRUE(showsCleanSheet(shown()));
    form->Edit5->setText("2");
    // Left edge at x = -8: only the top, bottom and right lines around tile 0 show.
    EXPECT_TRUE(isFrameOutline(shown(), -8, 0, 8, 8));
    EXPECT_EQ(shownAt(7, 3), kBlack);
    EXPECT_NE(shownAt(0, 3), kBlack);
}

TEST_F(SheetFrameTest, BlockPastTheEdgesIsClipped) {
    loadSheet(32, 16);
    form->Image1MouseDown(Qt::LeftButton, Qt::NoModifier, 24, 8);
    form->Edit5->setText("3");
    form->Edit6->setText("4");
    EXPECT_TRUE(isFrameOutline(shown(), 24, 8, 48, 40));
    EXPECT_EQ(shownAt(31, 10), sheetColour(31, 10));
    EXPECT_EQ(shownAt(27, 15), sheetColour(27, 15));
}

TEST_F(SheetFrameTest, ExtremeTileAndSizesNeitherWrapNorCrash) {
    loadSheet(32, 16);
    form->SelectedTile = INT_MAX;
    form->Edit5->setText("2147483647");
    form->Edit6->setText("2147483647");
    // Far below and right of the sheet: a wrapped 32-bit rectangle would land on it.
    EXPECT_TRUE(showsCleanSheet(shown()));
    form->SelectedTile = INT_MIN;
    form->Edit5->setText("-2147483648");
    EXPECT_TRUE(showsCleanSheet(shown()));
    EXPECT_TRUE(dialogs.failures().isEmpty());
}

TEST_F(SheetFrameTest, TypedTileTakesEffectAtTheNextRedrawOnly) {
    loadSheet(64, 16);
    form->Edit1->setText("7");
    form->Edit1Exit();
    EXPECT_EQ(form->SelectedTile, 7);
    EXPECT_TRUE(isFrameOutline(shown(), 8, 0, 16, 8));
    form->Edit6->setText("2");
    EXPECT_TRUE(isFrameOutline(shown(), 56, 0, 64, 16));

    form->Edit1->setText("$A");
    form->Edit1Exit();
    EXPECT_EQ(form->SelectedTile, 10);
    form->Edit1->setText("seven");
    EXPECT_THROW(form->Edit1Exit(), core::ConversionFailure);
    EXPECT_EQ(form->SelectedTile, 10);
    EXPECT_EQ(form->Edit1->text(), "seven");
}

TEST_F(SheetFrameTest, PressesOnControlsOverTheSheetDoNotPick) {
    loadSheet(256, 512);
    ui::showMainWindow();
    form->SelectedTile = 3;
    // Label8 "画像横サイズ：" and the columns field Edit4 lie over sheet rows from y = 160.
    const QPoint onLabel = form->Label8->geometry().center();
    const QPoint onField = form->Edit4->geometry().center();
    ASSERT_TRUE(form->Image1->geometry().contains(onLabel));
    ASSERT_TRUE(form->Image1->geometry().contains(onField));
    pressOnWindowAt(onLabel);
    pressOnWindowAt(onField);
    EXPECT_EQ(form->SelectedTile, 3);
    // The uncovered part next to them still picks.
    pressOnWindowAt(form->Image1->mapTo(form->content, QPoint(100, 8)));
    EXPECT_EQ(form->SelectedTile, 12 + 1 * 32);
}

}  // namespace
}  // namespace sheettest

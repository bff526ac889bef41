// The map view inside the real main window: stamping through presses, keys and the
// wheel, the failures around a press, and the pixels of painted cells.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include "support/cp932.h"
#include "test_windows_fixture.h"
#include "ui/DrawGrid.h"
#include "ui/SheetView.h"

namespace {

using Cell = std::pair<int, int>;

// Every pixel of the 32 x 16 test sheet differs from every other one.
QRgb sheetColour(int x, int y) { return qRgb(40 + x * 6, 30 + y * 12, 200 - x * 3); }

class GridWindowTest : public windowstest::WindowsTest {
protected:
    void SetUp() override {
        WindowsTest::SetUp();
        showMainWindow();
        form = Form1;
        grid = form->DrawGrid1;
        grid->setFocus();
        ASSERT_TRUE(grid->isActiveControl());
        // Count the selections while the window's own handler still stamps.
        grid->OnStampingDragStart = [this] { ++dragsStarted; };
        grid->OnStampingDragEnd = [this] { ++dragsEnded; };
        auto stamp = grid->OnSelectCell;
        grid->OnSelectCell = [this, stamp](int col, int row, bool& canSelect) {
            selections.emplace_back(col, row);
            stamp(col, row, canSelect);
        };
    }

    // What loading a 32 x 16 sheet leaves behind: four tiles per row, eight tiles.
    void loadTestSheet() {
        core::Bitmap sheet;
        sheet.width = 32;
        sheet.height = 16;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 32; ++x) sheet.pixels.push_back(sheetColour(x, y));
        form->TileSheet = std::move(sheet);
        form->SheetColumns = 4;
        form->Image1->resize(32, 16);
    }

    void setBrush(int width, int height) {
        form->Edit5->setText(QString::number(width));
        form->Edit6->setText(QString::number(height));
    }

    QWidget* view() { return grid->viewport(); }
    QPoint centre(int col, int row) { return grid->geometry().cellRect(col, row).center(); }
    void click(int col, int row) { QTest::mouseClick(view(), Qt::LeftButton, {}, centre(col, row)); }
    QImage shown() { return view()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QRgb colour(QPalette::ColorRole role) { return grid->palette().color(role).rgb(); }

    TForm1* form = nullptr;
    ui::DrawGrid* grid = nullptr;
    std::vector<Cell> selections;
    int dragsStarted = 0;
    int dragsEnded = 0;
    bool dragging() const { return dragsStarted > dragsEnded; }
};

TEST_F(GridWindowTest, PressesStampTheSheetExamples) {
    click(4, 4);  // no sheet yet: nothing stored, Modified all the same
    EXPECT_EQ(form->Map[3][3], 0);
    EXPECT_TRUE(form->Modified);

    loadTestSheet();
    setBrush(3, 2);
    form->SelectedTile = 2;
    click(1, 1);
    EXPECT_EQ(form->Map[0], (core::MapRow{2, 3, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                          0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(form->Map[1][0], 6);
    EXPECT_EQ(form->Map[1][1], 7);
    EXPECT_EQ(form->Map[1][2], 0);

    form->SelectedTile = 6;
    click(10, 10);
    EXPECT_EQ(form->Map[9][9], 6);
    EXPECT_EQ(form->Map[9][10], 7);
    EXPECT_EQ(form->Map[9][11], 0);
    EXPECT_EQ(form->Map[10][9], 0);
    EXPECT_EQ(grid->Col(), 10);
    EXPECT_EQ(grid->Row(), 10);
}

TEST_F(GridWindowTest, DragStampsAtEachCellAndReleaseRepaints) {
    loadTestSheet();
    form->SelectedTile = 5;
    QTest::mousePress(view(), Qt::LeftButton, {}, centre(2, 2));
    for (int col = 3; col <= 5; ++col) QTest::mouseMove(view(), centre(col, 2));
    QTest::mouseRelease(view(), Qt::LeftButton, {}, centre(5, 2));
    EXPECT_EQ(selections, (std::vector<Cell>{{2, 2}, {3, 2}, {4, 2}, {5, 2}}));
    for (int x = 1; x <= 4; ++x) EXPECT_EQ(form->Map[1][x], 5);
}

TEST_F(GridWindowTest, DoubleClickStampsOnce) {
    loadTestSheet();
    const QPoint at = view()->mapTo(form, centre(6, 6));
    QTest::mouseDClick(form->windowHandle(), Qt::LeftButton, {}, at);
    EXPECT_EQ(selections, (std::vector<Cell>{{6, 6}}));
    EXPECT_EQ(form->Map[5][5], 1);
}

TEST_F(GridWindowTest, KeysAndWheelStampButCtrlUpDownOnlyScroll) {
    loadTestSheet();
    form->SelectedTile = 3;
    QTest::keyClick(grid, Qt::Key_Right);
    EXPECT_EQ(form->Map[0][1], 3);
    form->Modified = false;
    QTest::keyClick(grid, Qt::Key_Down, Qt::ControlModifier);
    QTest::keyClick(grid, Qt::Key_Up, Qt::ControlModifier);
    QTest::keyClick(grid, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(grid->geometry().topRow, 2);
    EXPECT_FALSE(form->Modified);
    EXPECT_EQ(selections.size(), 1u);

    const QPoint at = centre(4, 4);
    QWheelEvent notch(at, view()->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view(), &notch);
    EXPECT_EQ(selections.back(), Cell(2, 2));
    EXPECT_EQ(form->Map[1][1], 3);
    EXPECT_TRUE(form->Modified);
}

// The wheel goes to the focused control, wherever over the window it is turned.
TEST_F(GridWindowTest, WheelAnywhereOverTheMainWindowStepsTheFocusedView) {
    const auto notchOver = [](QWidget* widget) {
        const QPoint at = widget->rect().center();
        QWheelEvent notch(at, widget->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(widget, &notch);
    };
    notchOver(form->Label8);
    notchOver(form->Button5);
    notchOver(form->scroller->viewport());
    notchOver(grid->verticalScrollBar());
    EXPECT_EQ(selections, (std::vector<Cell>{{1, 2}, {1, 3}, {1, 4}, {1, 5}}));
    EXPECT_EQ(grid->geometry().topRow, 1) << "the view's own scroll bar did not scroll";

    notchOver(Form2->Edit1);  // another window
    form->Edit1->setFocus();
    notchOver(form->Button5);
    notchOver(view());
    EXPECT_EQ(selections.size(), 4u);
}

TEST_F(GridWindowTest, KeyStampRedrawsTheWholeBlock) {
    loadTestSheet();
    setBrush(3, 3);
    qApp->processEvents();
    std::vector<Cell> drawn;
    auto draw = grid->OnDrawCell;
    grid->OnDrawCell = [&](QPainter& painter, int col, int row, const QRect& rect, bool fixed) {
        drawn.emplace_back(col, row);
        draw(painter, col, row, rect, fixed);
    };
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::qWait(50);
    for (int row = 2; row <= 4; ++row)
        for (int col = 1; col <= 3; ++col)
            EXPECT_NE(std::find(drawn.begin(), drawn.end(), Cell(col, row)), drawn.end()) << col << "," << row;
}

TEST_F(GridWindowTest, FailingBrushFieldShowsTheFailureAndKeepsTheCurrentCell) {
    form->Edit6->setText("");
    form->Edit5->setText("x");
    dialogs.clear();
    QTest::mousePress(view(), Qt::LeftButton, {}, centre(5, 5));
    ASSERT_EQ(dialogs.failures().size(), 1);
    // The height field is converted first.
    EXPECT_EQ(dialogs.failures()[0], QString::fromUtf8("'' は整数ではありません."));
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_FALSE(form->Modified);
    // The drag ended with the failure: moving on fires nothing.
    QTest::mouseMove(view(), centre(6, 5));
    QTest::mouseRelease(view(), Qt::LeftButton, {}, centre(6, 5));
    EXPECT_EQ(selections.size(), 1u);
    EXPECT_EQ(dialogs.failures().size(), 1);
}

TEST_F(GridWindowTest, FailingLeaveHandlerIsShownAndThePressStillStamps) {
    loadTestSheet();
    form->SelectedTile = 2;
    form->Edit1->setFocus();
    form->Edit1->setText("abc");
    QTest::mouseClick(view(), Qt::LeftButton, {}, centre(3, 3));
    ASSERT_EQ(dialogs.failures().size(), 1);
    EXPECT_EQ(dialogs.failures()[0], QString::fromUtf8("'abc' は整数ではありません."));
    EXPECT_TRUE(grid->isActiveControl());
    EXPECT_EQ(form->Map[2][2], 2);
    EXPECT_EQ(grid->Col(), 3);
}

// The failure box takes the button's release, so the press must not leave a drag
// behind that stamps on with the button up.
TEST_F(GridWindowTest, FailingLeaveHandlerEndsTheDragAfterItsStamp) {
    loadTestSheet();
    form->SelectedTile = 2;
    form->Edit1->setFocus();
    form->Edit1->setText("abc");
    QTest::mousePress(view(), Qt::LeftButton, {}, centre(3, 3));
    ASSERT_EQ(dialogs.failures().size(), 1);
    EXPECT_EQ(selections, (std::vector<Cell>{{3, 3}}));
    EXPECT_FALSE(dragging());
    QTest::mouseMove(view(), centre(4, 3));
    EXPECT_EQ(selections.size(), 1u) << "no stamping with the button up";
    QTest::mouseRelease(view(), Qt::LeftButton, {}, centre(5, 3));
    QTest::mouseClick(view(), Qt::LeftButton, {}, centre(6, 3));
    EXPECT_EQ(selections, (std::vector<Cell>{{3, 3}, {6, 3}})) << "the next press stamps again";
}

TEST_F(GridWindowTest, WidthShrinkMovesTheCurrentCellWithoutStamping) {
    loadTestSheet();
    grid->setCol(20);
    Form2->Edit2->setText("10");
    EXPECT_EQ(form->MapWidth, 10);
    EXPECT_EQ(grid->Col(), 10);
    EXPECT_TRUE(selections.empty());
    EXPECT_EQ(form->Map[0][9], 0);
}

TEST_F(GridWindowTest, FillWritesEveryCellAndRepaints) {
    loadTestSheet();
    form->Modified = false;
    form->SelectedTile = 70000;
    form->Button2->click();
    for (const auto& row : form->Map)
        for (auto cell : row) ASSERT_EQ(cell, 4464);
    EXPECT_FALSE(form->Modified);
}

TEST_F(GridWindowTest, CellShowsItsTileDoubledWithBorderPixels) {
    loadTestSheet();
    form->Map[0][1] = 6;  // sheet square at (16, 8)
    form->CheckBox4->click();
    const QImage image = shown();
    const QRect cell = grid->geometry().cellRect(2, 1);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool border = x == 15 || (y == 15 && x >= 1);
            const QRgb expected = border ? qRgb(0, 0, 0) : sheetColour(16 + x / 2, 8 + y / 2);
            ASSERT_EQ(image.pixel(cell.left() + x, cell.top() + y), expected) << x << "," << y;
        }
    }
    form->CheckBox4->click();
    EXPECT_EQ(shown().pixel(cell.right(), cell.top()), sheetColour(23, 8));
}

TEST_F(GridWindowTest, TileNumberStandsInAnOpaqueBoxCutAtTheCellEdge) {
    loadTestSheet();
    form->Map[0][2] = 7;  // sheet square at (24, 8)
    form->Map[0][4] = 65535;
    form->CheckBox1->click();
    const QImage image = shown();
    const QRgb window = colour(QPalette::Base);

    const QRect cell = grid->geometry().cellRect(3, 1);
    // Left of the box and above it the tile shows; the box starts at (left + 1, top + 2).
    EXPECT_EQ(image.pixel(cell.left(), cell.top() + 5), sheetColour(24, 10));
    EXPECT_EQ(image.pixel(cell.left() + 3, cell.top() + 1), sheetColour(25, 8));
    int boxPixels = 0, textPixels = 0;
    for (int y = 2; y < 16; ++y)
        for (int x = 1; x < 8; ++x) {
            const QRgb pixel = image.pixel(cell.left() + x, cell.top() + y);
            boxPixels += pixel == window;
            textPixels += pixel != window && pixel != sheetColour(24 + x / 2, 8 + y / 2);
        }
    EXPECT_GT(boxPixels, 10);
    EXPECT_GT(textPixels, 3);
    EXPECT_EQ(image.pixel(cell.right(), cell.bottom()), sheetColour(31, 15));  // beyond the box

    // Tile 65535 lies outside the sheet: the window colour stands behind its number,
    // which is wider than the cell; the next cell shows its own tile at its left.
    const QRect wide = grid->geometry().cellRect(5, 1);
    bool textInCell = false;
    for (int x = 1; x < 16; ++x) textInCell |= image.pixel(wide.left() + x, wide.top() + 6) != window;
    EXPECT_TRUE(textInCell);
    EXPECT_EQ(image.pixel(wide.right() + 1, wide.top() + 3), sheetColour(0, 1));
    EXPECT_EQ(image.pixel(wide.right() + 1, wide.top() + 8), sheetColour(0, 4));
}

TEST_F(GridWindowTest, HeadersShowNumbersAndTheCornerNothing) {
    const QImage image = shown();
    const QRgb button = colour(QPalette::Button);
    const auto plain = [&](const QRect& cell) {
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                if (image.pixel(x, y) != button) return false;
        return true;
    };
    EXPECT_TRUE(plain(grid->geometry().cellRect(0, 0)));
    EXPECT_FALSE(plain(grid->geometry().cellRect(1, 0)));
    EXPECT_FALSE(plain(grid->geometry().cellRect(0, 1)));
    // Without a sheet a data cell is plain window colour, the base of text fields,
    // which the default palette sets apart from the headers' button face.
    EXPECT_EQ(image.pixel(centre(5, 5)), colour(QPalette::Base));
    EXPECT_NE(colour(QPalette::Base), button);
}

TEST_F(GridWindowTest, CurrentCellIsHighlightedWithoutTheFocus) {
    form->CheckBox1->click();
    form->Edit1->setFocus();
    ASSERT_FALSE(grid->isActiveControl());
    const QImage image = shown();
    const QRect cell = grid->geometry().cellRect(1, 1);
    const QRgb highlight = colour(QPalette::Highlight);
    EXPECT_EQ(image.pixel(cell.topLeft()), highlight);
    EXPECT_EQ(image.pixel(cell.bottomRight()), highlight);
    int textPixels = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            textPixels += pixel != highlight;
        }
    EXPECT_GT(textPixels, 3);  // the number "0" in the highlight-text colour
    EXPECT_EQ(image.pixel(grid->geometry().cellRect(2, 1).topLeft()), colour(QPalette::Base));
}

}  // namespace

// The map view inside the real main window: stamping through presses, drags, keys
// and the wheel, the failures around a press, the current cell following the size
// fields, and the pixels of painted cells.
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

#include <algorithm>
#include <vector>

#include "../test_windows_fixture.h"
#include "test_grid_user.h"
#include "ui/map_view/DrawGrid.h"
#include "ui/sheet/SheetView.h"

namespace {

using gridtest::Cell;
using gridtest::Drag;

// Every pixel of the 32 x 16 test sheet differs from every other one.
QRgb sheetColour(int x, int y) { return qRgb(40 + x * 6, 30 + y * 12, 200 - x * 3); }

class GridWindowTest : public windowstest::WindowsTest, protected gridtest::GridUser {
protected:
    void SetUp() override {
        WindowsTest::SetUp();
        showMainWindow();
        watch(*form->DrawGrid1);
        grid->setFocus();
        ASSERT_TRUE(grid->isActiveControl());
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

    void click(int col, int row) { QTest::mouseClick(view(), Qt::LeftButton, {}, centre(col, row)); }
    QImage shown() { return view()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QRgb colour(QPalette::ColorRole role) { return grid->palette().color(role).rgb(); }
};

// The stamp's own cases are core's (test_stamp); here the press reaches it with the
// brush fields and the shown sheet's tile count, at the map cell under the pointer.
TEST_F(GridWindowTest, PressesStampTheBrushBlockFromTheShownSheet) {
    click(4, 4);  // no sheet yet: nothing stored, Modified all the same
    EXPECT_EQ(form->Map[3][3], 0);
    EXPECT_TRUE(form->Modified);

    loadTestSheet();
    setBrush(3, 2);
    form->SelectedTile = 2;
    click(1, 1);
    EXPECT_EQ(std::vector<core::Cell>(form->Map[0].begin(), form->Map[0].end()),
              (std::vector<core::Cell>{2, 3, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                       0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(form->Map[1][0], 6);
    EXPECT_EQ(form->Map[1][1], 7);
    EXPECT_EQ(form->Map[1][2], 0);  // tile 8 is past the sheet's last
    EXPECT_EQ(current(), Cell(1, 1));
}

TEST_F(GridWindowTest, DragStampsAtEachCellEnteredButNotOverTheHeaders) {
    loadTestSheet();
    form->SelectedTile = 5;
    press(centre(2, 2));
    moveTo(centre(2, 2) + QPoint(3, 3));  // same cell: nothing
    for (int col = 3; col <= 5; ++col) moveTo(centre(col, 2));
    EXPECT_EQ(fired, (std::vector<Cell>{{2, 2}, {3, 2}, {4, 2}, {5, 2}}));
    for (int x = 1; x <= 4; ++x) EXPECT_EQ(form->Map[1][x], 5);
    moveTo(centre(4, 2));   // entered again: fires again
    moveTo(QPoint(8, 40));  // over the header column: nothing by moving
    release(QPoint(8, 40));
    EXPECT_EQ(fired.size(), 5u);
    EXPECT_EQ(current(), Cell(4, 2));
    EXPECT_EQ(drags, (std::vector<Drag>{{0, 5}}));
    moveTo(centre(6, 2));  // no button held any more
    EXPECT_EQ(fired.size(), 5u);
}

TEST_F(GridWindowTest, DoubleClickStampsOnceAndStartsNoSecondDrag) {
    loadTestSheet();
    // As the window system delivers it: press, release, press (reported as the
    // double-click), release.
    const QPoint point = view()->mapTo(form, centre(6, 6));
    QTest::mouseDClick(form->windowHandle(), Qt::LeftButton, {}, point);
    EXPECT_EQ(fired, (std::vector<Cell>{{6, 6}}));
    EXPECT_EQ(form->Map[5][5], 1);
    QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {}, point);
    EXPECT_EQ(fired.size(), 2u);
    EXPECT_EQ(drags, (std::vector<Drag>{{0, 1}, {1, 2}}));
}

// A key stamps at the new cell and redraws the whole block, not only the two cells
// the view moves between.
TEST_F(GridWindowTest, KeyStampsAndRedrawsTheWholeBlock) {
    loadTestSheet();
    setBrush(3, 3);
    form->SelectedTile = 1;
    qApp->processEvents();
    std::vector<Cell> drawn;
    grid->OnDrawCell = [&, draw = grid->OnDrawCell](QPainter& painter, int col, int row, const QRect& rect, bool fixed) {
        drawn.emplace_back(col, row);
        draw(painter, col, row, rect, fixed);
    };
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(fired, (std::vector<Cell>{{1, 2}}));
    EXPECT_EQ(form->Map[1][0], 1);
    EXPECT_EQ(form->Map[2][2], 7);
    QTest::qWait(50);
    for (int row = 2; row <= 4; ++row)
        for (int col = 1; col <= 3; ++col)
            EXPECT_NE(std::find(drawn.begin(), drawn.end(), Cell(col, row)), drawn.end()) << col << "," << row;
}

// The wheel goes to the focused control, wherever over the window it is turned.
TEST_F(GridWindowTest, WheelNotchesStepTheFocusedViewFromAnywhereOverItsWindow) {
    loadTestSheet();
    form->SelectedTile = 3;
    const auto notchOver = [](QWidget* widget, int delta) {
        const QPoint point = widget->rect().center();
        QWheelEvent notch(point, widget->mapToGlobal(point), {}, {0, delta}, Qt::NoButton, {}, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(widget, &notch);
    };
    notchOver(view(), -120);  // toward the user: one row down
    EXPECT_EQ(fired, (std::vector<Cell>{{1, 2}}));
    EXPECT_EQ(form->Map[1][0], 3);
    EXPECT_TRUE(form->Modified);
    notchOver(form->Label8, -60);  // half notches add up
    EXPECT_EQ(fired.size(), 1u);
    notchOver(form->Button5, -60);
    notchOver(form->scroller->viewport(), -120);
    notchOver(grid->verticalScrollBar(), -120);
    EXPECT_EQ(fired, (std::vector<Cell>{{1, 2}, {1, 3}, {1, 4}, {1, 5}}));
    EXPECT_EQ(at().topRow, 1) << "the view's own scroll bar did not scroll";
    notchOver(view(), 5 * 120);  // away from the user: up to the first data row, then no further
    EXPECT_EQ(fired.size(), 8u);
    EXPECT_EQ(current(), Cell(1, 1));
    EXPECT_TRUE(drags.empty());

    notchOver(settings->Edit1, -120);  // another window
    form->Edit1->setFocus();
    notchOver(form->Button5, -120);
    notchOver(view(), -120);
    EXPECT_EQ(fired.size(), 8u);
}

TEST_F(GridWindowTest, FailingBrushFieldShowsTheFailureKeepsTheCellAndEndsTheDrag) {
    form->Edit6->setText("");
    form->Edit5->setText("x");
    dialogs.clear();
    press(centre(5, 5));
    ASSERT_EQ(dialogs.failures().size(), 1);
    // The height field is converted first.
    EXPECT_EQ(dialogs.failures()[0], QString::fromUtf8("'' は整数ではありません."));
    EXPECT_EQ(current(), Cell(1, 1));
    EXPECT_FALSE(form->Modified);
    EXPECT_EQ(drags, (std::vector<Drag>{{0, 1}}));
    // The drag ended with the failure: moving on fires nothing.
    moveTo(centre(6, 5));
    release(centre(6, 5));
    EXPECT_EQ(fired.size(), 1u);
    EXPECT_EQ(dialogs.failures().size(), 1);

    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(dialogs.failures().size(), 2);
    EXPECT_EQ(current(), Cell(1, 1));
    setBrush(1, 1);
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(current(), Cell(1, 2));
}

// The failure box takes the button's release, so the press must not leave a drag
// behind that stamps on with the button up.
TEST_F(GridWindowTest, FailingLeaveHandlerIsShownThePressStampsAndItsDragEnds) {
    loadTestSheet();
    form->SelectedTile = 2;
    form->Edit1->setFocus();
    form->Edit1->setText("abc");
    press(centre(3, 3));
    ASSERT_EQ(dialogs.failures().size(), 1);
    EXPECT_EQ(dialogs.failures()[0], QString::fromUtf8("'abc' は整数ではありません."));
    EXPECT_TRUE(grid->isActiveControl());
    EXPECT_EQ(form->Map[2][2], 2);
    EXPECT_EQ(current(), Cell(3, 3));
    EXPECT_EQ(drags, (std::vector<Drag>{{0, 1}}));
    moveTo(centre(4, 3));
    EXPECT_EQ(fired.size(), 1u) << "no stamping with the button up";
    release(centre(5, 3));
    click(6, 3);
    EXPECT_EQ(fired, (std::vector<Cell>{{3, 3}, {6, 3}})) << "the next press stamps again";
}

TEST_F(GridWindowTest, ShrinkingSizeMovesTheCurrentCellWithoutStamping) {
    loadTestSheet();
    grid->setCol(20);
    grid->setRow(30);
    settings->Edit2->setText("10");
    EXPECT_EQ(form->MapWidth, 10);
    EXPECT_EQ(current(), Cell(10, 30));
    settings->Edit3->setText("5");
    EXPECT_EQ(current(), Cell(10, 5));
    settings->Edit2->setText("40");
    settings->Edit3->setText("40");
    EXPECT_EQ(current(), Cell(10, 5));  // growing leaves it
    EXPECT_TRUE(fired.empty());
    EXPECT_EQ(form->Map[0][9], 0);
}

TEST_F(GridWindowTest, FillWritesEveryCellAndRepaints) {
    loadTestSheet();
    form->Modified = false;
    form->SelectedTile = 70000;
    form->Button2->click();
    EXPECT_EQ(form->Map, core::TileMap(32, 32, 4464));
    EXPECT_FALSE(form->Modified);
}

TEST_F(GridWindowTest, CellShowsItsTileDoubledWithBorderPixels) {
    loadTestSheet();
    form->Map[0][1] = 6;  // sheet square at (16, 8)
    form->CheckBox4->click();
    const QImage image = shown();
    const QRect cell = at().cellRect(2, 1);
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

    const QRect cell = at().cellRect(3, 1);
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
    const QRect wide = at().cellRect(5, 1);
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
    EXPECT_TRUE(plain(at().cellRect(0, 0)));
    EXPECT_FALSE(plain(at().cellRect(1, 0)));
    EXPECT_FALSE(plain(at().cellRect(0, 1)));
    // Without a sheet a data cell is plain window colour, the base of text fields,
    // which the default palette sets apart from the headers' button face.
    EXPECT_EQ(image.pixel(centre(5, 5)), colour(QPalette::Base));
    EXPECT_NE(colour(QPalette::Base), button);
}

TEST_F(GridWindowTest, CurrentCellShowsTheFocusDotsOrWithoutTheFocusTheHighlight) {
    const QRect cell = at().cellRect(1, 1);
    const QRgb window = colour(QPalette::Base);
    const QImage focused = shown();
    int dots = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x) {
            const QRgb pixel = focused.pixel(x, y);
            const bool edge = x == cell.left() || x == cell.right() || y == cell.top() || y == cell.bottom();
            if (!edge) EXPECT_EQ(pixel, window);
            else if (pixel != window) {
                EXPECT_EQ(pixel & 0xFFFFFF, ~window & 0xFFFFFF);
                ++dots;
            }
        }
    EXPECT_EQ(dots, 30);  // every other pixel of the 60 along the edge

    form->CheckBox1->click();
    form->Edit1->setFocus();
    ASSERT_FALSE(grid->isActiveControl());
    const QImage image = shown();
    const QRgb highlight = colour(QPalette::Highlight);
    EXPECT_EQ(image.pixel(cell.topLeft()), highlight);
    EXPECT_EQ(image.pixel(cell.bottomRight()), highlight);
    // The number "0" in the highlight-text colour, its box in the highlight too (no
    // window colour left, where the palette's highlight text is not that colour).
    const bool textLikeWindow = colour(QPalette::HighlightedText) == window;
    int textPixels = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            textPixels += pixel != highlight;
            if (!textLikeWindow) {
                ASSERT_NE(pixel, window) << x << "," << y;
            }
        }
    EXPECT_GT(textPixels, 3);
    EXPECT_EQ(image.pixel(at().cellRect(2, 1).topLeft()), window);
}

}  // namespace

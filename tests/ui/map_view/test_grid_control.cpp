// The grid control on its own: when it fires the cell-selection event, how the
// current cell and the scroll position move, and what a paint visits.
#include <QApplication>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "test_grid_user.h"
#include "ui/map_view/DrawGrid.h"
#include "ui/map_view/GridInput.h"

namespace {

using gridtest::Cell;
using gridtest::Drag;

class GridControlTest : public ::testing::Test, protected gridtest::GridUser {
protected:
    void SetUp() override {
        host.resize(700, 500);
        watch(*new ui::DrawGrid(&host));
        grid->setGeometry(232, 80, 441, 353);
        grid->setColCount(33);
        grid->setRowCount(33);
        host.show();
        QApplication::setActiveWindow(&host);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
        grid->setFocus();
        ASSERT_TRUE(grid->isActiveControl());
    }

    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(grid, key, modifiers); }
    // Presses on a row's header cell and lets go over another's.
    void dragRow(int from, int to) {
        press(QPoint(8, centre(0, from).y()));
        moveTo(QPoint(8, centre(0, to).y()));
        release(QPoint(8, centre(0, to).y()));
    }

    // Paints a region of the view into `image` and gives the cells drawn, in order;
    // each is drawn in its own rectangle and flagged fixed exactly when it is a header.
    std::vector<Cell> paint(QImage& image, const QRegion& region) {
        std::vector<Cell> cells;
        grid->OnDrawCell = [&](QPainter&, int col, int row, const QRect& rect, bool fixed) {
            cells.emplace_back(col, row);
            EXPECT_EQ(fixed, col == 0 || row == 0);
            EXPECT_EQ(rect, at().cellRect(col, row));
        };
        QPainter painter(&image);
        grid->paintCells(painter, region, true);
        return cells;
    }

    QWidget host;
};

TEST_F(GridControlTest, StartsAtTheFirstDataCellWithScrollBarsForTheDefaultMap) {
    EXPECT_EQ(current(), Cell(1, 1));
    EXPECT_EQ(at().leftCol, 1);
    EXPECT_EQ(at().topRow, 1);
    EXPECT_TRUE(fired.empty());
    EXPECT_EQ(at().cellRect(0, 0), QRect(0, 0, 16, 16));
    EXPECT_EQ(at().cellRect(3, 2), QRect(48, 32, 16, 16));
    // 32 data columns of 16 pixels do not fit in 441 - 4 pixels.
    EXPECT_TRUE(grid->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(grid->verticalScrollBar()->isVisible());
    EXPECT_EQ(at().visibleColCount(), (view()->width() - 16) / 16);
}

TEST_F(GridControlTest, PressOnTheCurrentCellFiresAndReleaseCountsAsAMove) {
    press(centre(1, 1));
    release(centre(2, 1));
    press(centre(2, 1));
    release(centre(2, 1));
    EXPECT_EQ(fired, (std::vector<Cell>{{1, 1}, {2, 1}, {2, 1}}));
    // Each press frames one stamping drag up to its release, whose move belongs to it.
    EXPECT_EQ(drags, (std::vector<Drag>{{0, 2}, {2, 3}}));
}

TEST_F(GridControlTest, HeadersRightButtonAndEmptyAreaFireNothing) {
    QTest::mouseClick(view(), Qt::LeftButton, {}, QPoint(40, 8));   // header row
    QTest::mouseClick(view(), Qt::LeftButton, {}, QPoint(4, 4));    // corner
    QTest::mouseClick(view(), Qt::RightButton, {}, centre(3, 3));
    QTest::mouseClick(view(), Qt::MiddleButton, {}, centre(3, 3));
    grid->setColCount(5);
    QTest::mouseClick(view(), Qt::LeftButton, {}, QPoint(16 * 8, 40));  // beyond the last column
    EXPECT_TRUE(fired.empty());
    EXPECT_TRUE(drags.empty());
    EXPECT_EQ(current(), Cell(1, 1));
}

TEST_F(GridControlTest, DragReachesOnePastTheLastFullyVisibleCell) {
    const int lastCol = at().leftCol + at().visibleColCount() - 1;
    const int lastRow = at().topRow + at().visibleRowCount() - 1;
    press(centre(2, 2));
    // Two columns past the last full one, still inside the grid's arithmetic: nothing.
    const int x = at().cellRect(lastCol, 2).left() + 2 * 16 + 2;
    moveTo(QPoint(x, centre(2, 2).y()));
    EXPECT_EQ(fired.size(), 1u);
    // One past it counts and scrolls it into view.
    moveTo(QPoint(at().cellRect(lastCol, 2).right() + 3, centre(2, 2).y()));
    ASSERT_EQ(fired.size(), 2u);
    EXPECT_EQ(fired.back(), Cell(lastCol + 1, 2));
    EXPECT_EQ(at().leftCol, 2);
    release(centre(lastCol, 2));

    press(centre(3, lastRow));
    moveTo(QPoint(centre(3, lastRow).x(), at().cellRect(3, lastRow).bottom() + 3));
    EXPECT_EQ(fired.back(), Cell(3, lastRow + 1));
    EXPECT_EQ(at().topRow, 2);
    release(centre(3, 5));
}

TEST_F(GridControlTest, HoldingAboveTheViewClimbsToTheFirstRow) {
    press(centre(4, 10));
    moveTo(QPoint(centre(4, 10).x(), -30));
    // Nine steps of 60 ms bring it to row 1, then it stays.
    QTest::qWait(9 * ui::GridInput::kStepMilliseconds + 500);
    EXPECT_EQ(current(), Cell(4, 1));
    ASSERT_EQ(fired.size(), 10u);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(fired[i], Cell(4, 10 - i));
    release(QPoint(centre(4, 10).x(), -30));
    EXPECT_EQ(fired.size(), 10u);
    EXPECT_EQ(drags, (std::vector<Drag>{{0, 10}}));  // the steps belong to the press's drag
}

TEST_F(GridControlTest, StepsPastTwoEdgesAreDiagonalAndTheViewFollows) {
    press(centre(3, 3));
    moveTo(QPoint(view()->width() + 40, view()->height() + 40));
    QTest::qWait(3 * ui::GridInput::kStepMilliseconds + 30);
    release(QPoint(-5, -5));  // nothing to move to on release: above and left of the data
    ASSERT_GE(fired.size(), 3u);
    for (std::size_t i = 1; i < fired.size(); ++i)
        EXPECT_EQ(fired[i], Cell(3 + int(i), 3 + int(i)));
    EXPECT_EQ(drags, (std::vector<Drag>{{0, fired.size()}}));
    const std::size_t count = fired.size();
    QTest::qWait(3 * ui::GridInput::kStepMilliseconds);
    EXPECT_EQ(fired.size(), count);  // the timer stopped with the release
}

TEST_F(GridControlTest, ArrowAndPageKeysMoveAndFireCtrlUpDownOnlyScroll) {
    grid->setColCount(101);
    grid->setRowCount(101);
    key(Qt::Key_Right);
    key(Qt::Key_Down);
    key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(fired, (std::vector<Cell>{{2, 1}, {2, 2}, {1, 2}}));
    key(Qt::Key_Left);  // already in the first data column
    EXPECT_EQ(fired.size(), 3u);

    key(Qt::Key_Down, Qt::ControlModifier);
    key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(at().topRow, 3);
    key(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(at().topRow, 2);
    EXPECT_EQ(fired.size(), 3u);
    EXPECT_EQ(current(), Cell(1, 2));

    const int pageHeight = at().visibleRowCount() - 1;
    key(Qt::Key_PageDown);
    EXPECT_EQ(current(), Cell(1, 2 + pageHeight));
    EXPECT_EQ(at().topRow, 2 + pageHeight);

    key(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(current(), Cell(1, at().topRow + at().visibleRowCount() - 1));
    key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(current(), Cell(100, 100));
    EXPECT_EQ(at().topRow + at().visibleRowCount() - 1, 100);
    key(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(current(), Cell(100, at().topRow));
    key(Qt::Key_Home);
    EXPECT_EQ(current().first, 1);
    key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(current(), Cell(1, 1));
    EXPECT_EQ(at().leftCol, 1);
    EXPECT_EQ(at().topRow, 1);
    EXPECT_EQ(fired.back(), Cell(1, 1));
    EXPECT_TRUE(drags.empty());  // a key's stamp stands alone
}

TEST_F(GridControlTest, CtrlLeftRightMoveByThePageWidth) {
    grid->setColCount(101);
    const int pageWidth = at().visibleColCount() - 1;
    key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(current(), Cell(1 + pageWidth, 1));
    EXPECT_EQ(at().leftCol, 1 + pageWidth);
    key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(current(), Cell(1 + 2 * pageWidth, 1));
    key(Qt::Key_Left, Qt::ControlModifier);
    key(Qt::Key_Left, Qt::ControlModifier);
    key(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(current(), Cell(1, 1));
    EXPECT_EQ(at().leftCol, 1);
}

TEST_F(GridControlTest, RowDragMovesOnlyTheCurrentRow) {
    grid->setRow(3);
    dragRow(3, 6);
    EXPECT_TRUE(fired.empty());
    EXPECT_EQ(grid->Row(), 6);  // the dragged row itself

    grid->setRow(5);  // between the dragged row and the drop row
    dragRow(2, 7);
    EXPECT_EQ(grid->Row(), 4);

    dragRow(8, 2);
    EXPECT_EQ(grid->Row(), 5);
    EXPECT_TRUE(fired.empty());
    EXPECT_TRUE(drags.empty());
}

TEST_F(GridControlTest, RowMarkerIsFivePixelsOfInvertedDots) {
    press(QPoint(8, centre(0, 3).y()));
    moveTo(QPoint(8, centre(0, 6).y()));
    const QImage withMarker = view()->grab().toImage();
    release(QPoint(8, centre(0, 6).y()));
    const QImage without = view()->grab().toImage();
    // Drop row below the dragged row: the marker is centred on the drop row's bottom edge.
    const int edge = at().cellRect(0, 6).bottom() + 1;
    int inverted = 0;
    for (int y = edge - 4; y <= edge + 4; ++y) {
        for (int x = 0; x < 40; ++x) {
            const bool changed = withMarker.pixel(x, y) != without.pixel(x, y);
            if (y < edge - 2 || y > edge + 2) EXPECT_FALSE(changed) << x << "," << y;
            else if (changed) {
                EXPECT_EQ(withMarker.pixel(x, y) & 0xFFFFFF, ~without.pixel(x, y) & 0xFFFFFF);
                ++inverted;
            }
        }
    }
    EXPECT_EQ(inverted, 5 * 40 / 2);  // every other pixel
}

TEST_F(GridControlTest, PaintGoesCornerHeaderRowHeaderColumnThenDataRowByRow) {
    grid->setColCount(4);
    grid->setRowCount(3);
    QImage image(view()->size(), QImage::Format_RGB32);
    EXPECT_EQ(paint(image, image.rect()), (std::vector<Cell>{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {0, 1}, {0, 2},
                                                             {1, 1}, {2, 1}, {3, 1}, {1, 2}, {2, 2}, {3, 2}}));
    // Beyond the cells: the window colour, the base of text fields.
    const QColor window = grid->palette().color(QPalette::Base);
    EXPECT_EQ(image.pixelColor(4 * 16 + 5, 5), window);
    EXPECT_EQ(image.pixelColor(5, 3 * 16 + 5), window);
}

TEST_F(GridControlTest, PaintVisitsOnlyShownCellsWhateverTheMapSize) {
    QImage image(view()->size(), QImage::Format_RGB32);
    const std::size_t smallCount = paint(image, image.rect()).size();
    grid->setColCount(4097);
    grid->setRowCount(4097);
    grid->horizontalScrollBar()->setValue(1999);
    grid->verticalScrollBar()->setValue(2999);
    const std::vector<Cell> large = paint(image, image.rect());
    const int cols = (view()->width() - 16 + 15) / 16, rows = (view()->height() - 16 + 15) / 16;
    EXPECT_EQ(large.size(), std::size_t(1 + cols + rows + cols * rows));
    EXPECT_GE(smallCount, large.size() - cols - rows - 1);
    EXPECT_EQ(large[1], Cell(2000, 0));
    EXPECT_EQ(large.back(), Cell(2000 + cols - 1, 3000 + rows - 1));
    // A small region visits just the cells it touches.
    EXPECT_EQ(paint(image, QRect(20, 20, 40, 5)), (std::vector<Cell>{{2000, 3000}, {2001, 3000}, {2002, 3000}}));
}

}  // namespace

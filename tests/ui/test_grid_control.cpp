// The grid control on its own: when it fires the cell-selection event, how the
// current cell and the scroll position move, and what a paint visits.
#include <QApplication>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>
#include <vector>

#include "ui/DrawGrid.h"
#include "ui/GridInput.h"

namespace {

using Cell = std::pair<int, int>;

class GridControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        host.resize(700, 500);
        grid = new ui::DrawGrid(&host);
        grid->setGeometry(232, 80, 441, 353);
        grid->setColCount(33);
        grid->setRowCount(33);
        grid->OnSelectCell = [this](int col, int row, bool& canSelect) {
            fired.emplace_back(col, row);
            if (failNext) {
                failNext = false;
                throw std::runtime_error("brush field");
            }
            canSelect = true;
        };
        grid->guard = [this](const std::function<void()>& action) {
            try {
                action();
                return true;
            } catch (const std::runtime_error&) {
                ++failuresShown;
                grid->cancelDrag();
                return false;
            }
        };
        grid->OnStampingDragStart = [this] { ++dragsStarted; };
        grid->OnStampingDragEnd = [this] { ++dragsEnded; };
        host.show();
        QApplication::setActiveWindow(&host);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
        grid->setFocus();
        ASSERT_TRUE(grid->isActiveControl());
    }

    QWidget* view() { return grid->viewport(); }
    QPoint centre(int col, int row) { return grid->geometry().cellRect(col, row).center(); }
    void press(QPoint at) { QTest::mousePress(view(), Qt::LeftButton, {}, at); }
    void moveTo(QPoint at) { QTest::mouseMove(view(), at); }
    void release(QPoint at) { QTest::mouseRelease(view(), Qt::LeftButton, {}, at); }
    Cell current() const { return {grid->Col(), grid->Row()}; }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(grid, key, modifiers); }
    void wheel(int delta) {
        const QPoint at = centre(3, 3);
        QWheelEvent event(at, view()->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view(), &event);
    }

    QWidget host;
    ui::DrawGrid* grid = nullptr;
    std::vector<Cell> fired;
    bool failNext = false;
    int dragsStarted = 0;
    int dragsEnded = 0;
    bool dragging() const { return dragsStarted > dragsEnded; }
    int failuresShown = 0;
};

TEST_F(GridControlTest, StartsAtTheFirstDataCellWithScrollBarsForTheDefaultMap) {
    EXPECT_EQ(current(), Cell(1, 1));
    EXPECT_EQ(grid->geometry().leftCol, 1);
    EXPECT_EQ(grid->geometry().topRow, 1);
    EXPECT_TRUE(fired.empty());
    EXPECT_EQ(grid->geometry().cellRect(0, 0), QRect(0, 0, 16, 16));
    EXPECT_EQ(grid->geometry().cellRect(3, 2), QRect(48, 32, 16, 16));
    // 32 data columns of 16 pixels do not fit in 441 - 4 pixels.
    EXPECT_TRUE(grid->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(grid->verticalScrollBar()->isVisible());
    EXPECT_EQ(grid->geometry().visibleColCount(), (view()->width() - 16) / 16);
}

TEST_F(GridControlTest, DragAcrossFourCellsFiresAtEachAndAgainOnReentry) {
    press(centre(2, 2));
    moveTo(centre(2, 2) + QPoint(3, 3));  // same cell: nothing
    moveTo(centre(3, 2));
    moveTo(centre(4, 2));
    moveTo(centre(5, 2));
    EXPECT_EQ(fired, (std::vector<Cell>{{2, 2}, {3, 2}, {4, 2}, {5, 2}}));
    moveTo(centre(4, 2));
    moveTo(QPoint(8, 40));  // over the header column: nothing by moving
    release(QPoint(8, 40));
    EXPECT_EQ(fired.size(), 5u);
    EXPECT_EQ(current(), Cell(4, 2));
    EXPECT_FALSE(dragging());
    moveTo(centre(6, 2));  // no button held any more
    EXPECT_EQ(fired.size(), 5u);
}

TEST_F(GridControlTest, PressOnTheCurrentCellFiresAndReleaseCountsAsAMove) {
    press(centre(1, 1));
    release(centre(2, 1));
    press(centre(2, 1));
    release(centre(2, 1));
    EXPECT_EQ(fired, (std::vector<Cell>{{1, 1}, {2, 1}, {2, 1}}));
}

TEST_F(GridControlTest, HeadersRightButtonAndEmptyAreaFireNothing) {
    QTest::mouseClick(view(), Qt::LeftButton, {}, QPoint(40, 8));   // header row
    QTest::mouseClick(view(), Qt::LeftButton, {}, QPoint(4, 4));    // corner
    QTest::mouseClick(view(), Qt::RightButton, {}, centre(3, 3));
    QTest::mouseClick(view(), Qt::MiddleButton, {}, centre(3, 3));
    grid->setColCount(5);
    QTest::mouseClick(view(), Qt::LeftButton, {}, QPoint(16 * 8, 40));  // beyond the last column
    EXPECT_TRUE(fired.empty());
    EXPECT_EQ(current(), Cell(1, 1));
}

TEST_F(GridControlTest, DoubleClickFiresOnceAndStartsNoSecondDrag) {
    // Through the window, as the window system delivers it: press, release, press
    // (reported as the double-click), release.
    const QPoint at = view()->mapTo(&host, centre(3, 3));
    QTest::mouseDClick(host.windowHandle(), Qt::LeftButton, {}, at);
    EXPECT_EQ(fired, (std::vector<Cell>{{3, 3}}));
    QTest::mouseClick(host.windowHandle(), Qt::LeftButton, {}, at);
    EXPECT_EQ(fired.size(), 2u);
    EXPECT_FALSE(dragging());
}

TEST_F(GridControlTest, DragReachesOnePastTheLastFullyVisibleCell) {
    const int lastCol = grid->geometry().leftCol + grid->geometry().visibleColCount() - 1;
    const int lastRow = grid->geometry().topRow + grid->geometry().visibleRowCount() - 1;
    press(centre(2, 2));
    // Two columns past the last full one, still inside the grid's arithmetic: nothing.
    const int x = grid->geometry().cellRect(lastCol, 2).left() + 2 * 16 + 2;
    moveTo(QPoint(x, centre(2, 2).y()));
    EXPECT_EQ(fired.size(), 1u);
    // One past it counts and scrolls it into view.
    moveTo(QPoint(grid->geometry().cellRect(lastCol, 2).right() + 3, centre(2, 2).y()));
    ASSERT_EQ(fired.size(), 2u);
    EXPECT_EQ(fired.back(), Cell(lastCol + 1, 2));
    EXPECT_EQ(grid->geometry().leftCol, 2);
    release(centre(lastCol, 2));

    press(centre(3, lastRow));
    moveTo(QPoint(centre(3, lastRow).x(), grid->geometry().cellRect(3, lastRow).bottom() + 3));
    EXPECT_EQ(fired.back(), Cell(3, lastRow + 1));
    EXPECT_EQ(grid->geometry().topRow, 2);
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
}

TEST_F(GridControlTest, StepsPastTwoEdgesAreDiagonalAndTheViewFollows) {
    press(centre(3, 3));
    moveTo(QPoint(view()->width() + 40, view()->height() + 40));
    QTest::qWait(3 * ui::GridInput::kStepMilliseconds + 30);
    release(QPoint(-5, -5));  // nothing to move to on release: above and left of the data
    ASSERT_GE(fired.size(), 3u);
    for (std::size_t i = 1; i < fired.size(); ++i)
        EXPECT_EQ(fired[i], Cell(3 + int(i), 3 + int(i)));
    EXPECT_FALSE(dragging());
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
    EXPECT_EQ(grid->geometry().topRow, 3);
    key(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(grid->geometry().topRow, 2);
    EXPECT_EQ(fired.size(), 3u);
    EXPECT_EQ(current(), Cell(1, 2));

    const int pageHeight = grid->geometry().visibleRowCount() - 1;
    key(Qt::Key_PageDown);
    EXPECT_EQ(current(), Cell(1, 2 + pageHeight));
    EXPECT_EQ(grid->geometry().topRow, 2 + pageHeight);

    key(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(current(), Cell(1, grid->geometry().topRow + grid->geometry().visibleRowCount() - 1));
    key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(current(), Cell(100, 100));
    EXPECT_EQ(grid->geometry().topRow + grid->geometry().visibleRowCount() - 1, 100);
    key(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(current(), Cell(100, grid->geometry().topRow));
    key(Qt::Key_Home);
    EXPECT_EQ(current().first, 1);
    key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(current(), Cell(1, 1));
    EXPECT_EQ(grid->geometry().leftCol, 1);
    EXPECT_EQ(grid->geometry().topRow, 1);
    EXPECT_EQ(fired.back(), Cell(1, 1));
}

TEST_F(GridControlTest, CtrlLeftRightMoveByThePageWidth) {
    grid->setColCount(101);
    const int pageWidth = grid->geometry().visibleColCount() - 1;
    key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(current(), Cell(1 + pageWidth, 1));
    EXPECT_EQ(grid->geometry().leftCol, 1 + pageWidth);
    key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(current(), Cell(1 + 2 * pageWidth, 1));
    key(Qt::Key_Left, Qt::ControlModifier);
    key(Qt::Key_Left, Qt::ControlModifier);
    key(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(current(), Cell(1, 1));
    EXPECT_EQ(grid->geometry().leftCol, 1);
}

TEST_F(GridControlTest, WheelMovesOneRowPerNotch) {
    wheel(-120);
    EXPECT_EQ(fired, (std::vector<Cell>{{1, 2}}));
    wheel(-60);
    EXPECT_EQ(fired.size(), 1u);
    wheel(-60);
    EXPECT_EQ(current(), Cell(1, 3));
    wheel(240);
    EXPECT_EQ(current(), Cell(1, 1));
    wheel(120);  // already in the first data row
    EXPECT_EQ(fired.size(), 4u);

    grid->clearFocus();
    EXPECT_FALSE(grid->isActiveControl());
    wheel(-120);
    EXPECT_EQ(fired.size(), 4u);
}

TEST_F(GridControlTest, ShrinkingCountsMoveTheCurrentCellWithoutFiring) {
    grid->setCol(20);
    grid->setRow(30);
    grid->setColCount(11);
    EXPECT_EQ(current(), Cell(10, 30));
    grid->setRowCount(6);
    EXPECT_EQ(current(), Cell(10, 5));
    grid->setColCount(40);
    grid->setRowCount(40);
    EXPECT_EQ(current(), Cell(10, 5));
    EXPECT_TRUE(fired.empty());
}

TEST_F(GridControlTest, FailedSelectionKeepsTheCellAndEndsTheDrag) {
    failNext = true;
    press(centre(3, 3));
    EXPECT_EQ(failuresShown, 1);
    EXPECT_EQ(current(), Cell(1, 1));
    EXPECT_FALSE(dragging());
    moveTo(centre(4, 3));
    release(centre(4, 3));
    EXPECT_EQ(fired.size(), 1u);

    failNext = true;
    key(Qt::Key_Down);
    EXPECT_EQ(current(), Cell(1, 1));
    key(Qt::Key_Down);
    EXPECT_EQ(current(), Cell(1, 2));
}

TEST_F(GridControlTest, RowDragMovesOnlyTheCurrentRow) {
    grid->setRow(3);
    press(QPoint(8, centre(0, 3).y()));
    moveTo(QPoint(8, centre(0, 6).y()));
    release(QPoint(8, centre(0, 6).y()));
    EXPECT_TRUE(fired.empty());
    EXPECT_EQ(grid->Row(), 6);  // the dragged row itself

    grid->setRow(5);  // between the dragged row and the drop row
    press(QPoint(8, centre(0, 2).y()));
    moveTo(QPoint(8, centre(0, 7).y()));
    release(QPoint(8, centre(0, 7).y()));
    EXPECT_EQ(grid->Row(), 4);

    press(QPoint(8, centre(0, 8).y()));
    moveTo(QPoint(8, centre(0, 2).y()));
    release(QPoint(8, centre(0, 2).y()));
    EXPECT_EQ(grid->Row(), 5);
    EXPECT_TRUE(fired.empty());
}

TEST_F(GridControlTest, RowMarkerIsFivePixelsOfInvertedDots) {
    press(QPoint(8, centre(0, 3).y()));
    moveTo(QPoint(8, centre(0, 6).y()));
    const QImage withMarker = view()->grab().toImage();
    release(QPoint(8, centre(0, 6).y()));
    const QImage without = view()->grab().toImage();
    // Drop row below the dragged row: the marker is centred on the drop row's bottom edge.
    const int edge = grid->geometry().cellRect(0, 6).bottom() + 1;
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

class PaintRecorder {
public:
    explicit PaintRecorder(ui::DrawGrid& grid) {
        grid.OnDrawCell = [this](QPainter& painter, int col, int row, const QRect& rect, bool fixed) {
            cells.push_back({col, row});
            fixedFlags.push_back(fixed);
            rects.push_back(rect);
            brushes.push_back(painter.brush().color());
        };
    }
    std::vector<Cell> cells;
    std::vector<bool> fixedFlags;
    std::vector<QRect> rects;
    std::vector<QColor> brushes;
};

TEST_F(GridControlTest, PaintGoesCornerHeaderRowHeaderColumnThenDataRowByRow) {
    grid->setColCount(4);
    grid->setRowCount(3);
    PaintRecorder recorder(*grid);
    QImage image(view()->size(), QImage::Format_RGB32);
    QPainter painter(&image);
    grid->paintCells(painter, QRegion(image.rect()), true);
    const std::vector<Cell> order{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {0, 1}, {0, 2},
                                  {1, 1}, {2, 1}, {3, 1}, {1, 2}, {2, 2}, {3, 2}};
    EXPECT_EQ(recorder.cells, order);
    for (std::size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(recorder.fixedFlags[i], order[i].first == 0 || order[i].second == 0);
        EXPECT_EQ(recorder.rects[i], grid->geometry().cellRect(order[i].first, order[i].second));
    }
    // Beyond the cells: the window colour, the base of text fields.
    const QColor window = grid->palette().color(QPalette::Base);
    EXPECT_EQ(image.pixelColor(4 * 16 + 5, 5), window);
    EXPECT_EQ(image.pixelColor(5, 3 * 16 + 5), window);
}

TEST_F(GridControlTest, PaintVisitsOnlyShownCellsWhateverTheMapSize) {
    PaintRecorder small(*grid);
    QImage image(view()->size(), QImage::Format_RGB32);
    {
        QPainter painter(&image);
        grid->paintCells(painter, QRegion(image.rect()), true);
    }
    const std::size_t smallCount = small.cells.size();
    grid->setColCount(4097);
    grid->setRowCount(4097);
    grid->horizontalScrollBar()->setValue(1999);
    grid->verticalScrollBar()->setValue(2999);
    PaintRecorder large(*grid);
    {
        QPainter painter(&image);
        grid->paintCells(painter, QRegion(image.rect()), true);
    }
    const int cols = (view()->width() - 16 + 15) / 16, rows = (view()->height() - 16 + 15) / 16;
    EXPECT_EQ(large.cells.size(), std::size_t(1 + cols + rows + cols * rows));
    EXPECT_GE(smallCount, large.cells.size() - cols - rows - 1);
    EXPECT_EQ(large.cells[1], Cell(2000, 0));
    EXPECT_EQ(large.cells.back(), Cell(2000 + cols - 1, 3000 + rows - 1));

    // A small region visits just the cells it touches.
    PaintRecorder part(*grid);
    QPainter painter(&image);
    grid->paintCells(painter, QRegion(QRect(20, 20, 40, 5)), true);
    EXPECT_EQ(part.cells, (std::vector<Cell>{{2000, 3000}, {2001, 3000}, {2002, 3000}}));
}

TEST_F(GridControlTest, CurrentCellShowsHighlightWithoutFocusAndDotsWithIt) {
    PaintRecorder recorder(*grid);
    QImage unfocused(view()->size(), QImage::Format_RGB32);
    {
        QPainter painter(&unfocused);
        grid->paintCells(painter, QRegion(grid->geometry().cellRect(1, 1)), false);
    }
    const QPalette colours = grid->palette();
    ASSERT_EQ(recorder.brushes.size(), 1u);
    EXPECT_EQ(recorder.brushes[0], colours.color(QPalette::Highlight));
    for (int y = 16; y < 32; ++y)
        for (int x = 16; x < 32; ++x) ASSERT_EQ(unfocused.pixelColor(x, y), colours.color(QPalette::Highlight));

    QImage focused(view()->size(), QImage::Format_RGB32);
    {
        QPainter painter(&focused);
        grid->paintCells(painter, QRegion(grid->geometry().cellRect(1, 1)), true);
    }
    const QRgb window = colours.color(QPalette::Base).rgb() & 0xFFFFFF;
    int dots = 0;
    for (int y = 16; y < 32; ++y) {
        for (int x = 16; x < 32; ++x) {
            const QRgb pixel = focused.pixel(x, y) & 0xFFFFFF;
            const bool edge = x == 16 || x == 31 || y == 16 || y == 31;
            if (!edge) EXPECT_EQ(pixel, window);
            else if (pixel != window) {
                EXPECT_EQ(pixel, ~window & 0xFFFFFF);
                ++dots;
            }
        }
    }
    EXPECT_EQ(dots, 30);  // every other pixel of the 60 along the edge
}

}  // namespace

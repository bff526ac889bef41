// The map view at every zoom level: the geometry as data (the cell under a point,
// pages, scroll limits), the zoom about a point, and the rules of the view counted
// in cells whatever a cell's size.
#include <QApplication>
#include <QPainter>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <gtest/gtest.h>

#include "test_grid_user.h"
#include "ui/map_view/DrawGrid.h"
#include "ui/map_view/GridGeometry.h"
#include "ui/map_view/ZoomLevel.h"

namespace {

// The geometry of a 4096 x 4096 map in a 1920 x 1080 viewport at one level.
ui::GridGeometry largest(ui::ZoomLevel level, int headerWidth = 30) {
    ui::GridGeometry at;
    at.colCount = at.rowCount = 4097;
    at.view = QSize(1920, 1080);
    at.zoom = level;
    at.headerWidth = level == ui::kZoomLevels[ui::kStartZoom] ? 16 : headerWidth;
    at.leftCol = 100;
    at.topRow = 200;
    return at;
}

class ZoomGeometry : public ::testing::TestWithParam<ui::ZoomLevel> {};

TEST_P(ZoomGeometry, TheCellUnderAPointIsTheOneDrawnThere) {
    const ui::GridGeometry at = largest(GetParam());
    for (const int col : {100, 101, 117, 300}) {
        const QRect cell = at.cellRect(col, 216);
        if (GetParam().cells > 1 && (col - at.leftCol) % GetParam().cells != 0) continue;
        ASSERT_FALSE(cell.isEmpty()) << col;
        EXPECT_EQ(at.colAt(cell.left()), col);
        EXPECT_EQ(at.colAt(cell.right()), col);
        EXPECT_EQ(at.rowAt(cell.top()), 216);
        if (GetParam().cells == 1) EXPECT_EQ(at.colAt(cell.right() + 1), col + 1);
    }
    EXPECT_EQ(at.colAt(at.headerWidth - 1), 0) << "the header column";
    EXPECT_EQ(at.rowAt(15), 0) << "the header row";
    EXPECT_EQ(at.colAt(at.headerWidth), at.leftCol);
}

TEST_P(ZoomGeometry, PagesAndScrollLimitsAreCountedInCells) {
    const ui::ZoomLevel level = GetParam();
    const ui::GridGeometry at = largest(level);
    const int fitCols = (1920 - at.headerWidth) * level.cells / level.pixels;
    const int fitRows = (1080 - 16) * level.cells / level.pixels;
    EXPECT_EQ(at.pageCols(), std::max(1, fitCols));
    EXPECT_EQ(at.pageRows(), std::max(1, fitRows));
    EXPECT_EQ(at.maxLeftCol(), std::max(1, 4097 - std::max(1, fitCols)));
    EXPECT_EQ(at.maxTopRow(), std::max(1, 4097 - std::max(1, fitRows)));
    const int last = at.lastFullVisibleCol();
    EXPECT_LE(at.cellRect(last, 210).right(), 1919) << "the last fully visible column";
    if (last + 1 < at.colCount && level.cells == 1) EXPECT_GT(at.cellRect(last + 1, 210).right(), 1919);
}

INSTANTIATE_TEST_SUITE_P(EveryLevel, ZoomGeometry, ::testing::ValuesIn(ui::kZoomLevels),
                         [](const auto& info) {
                             return std::to_string(info.param.pixels) + "px_per_" + std::to_string(info.param.cells);
                         });

// The start-up level is the grid of old: 16-pixel cells and a 16-pixel header column.
TEST(ZoomGeometryAtStart, SixteenPixelsACellAsAtStartUp) {
    const ui::GridGeometry at = largest(ui::kZoomLevels[ui::kStartZoom]);
    EXPECT_EQ(at.cellRect(100, 200), QRect(16, 16, 16, 16));
    EXPECT_EQ(at.cellRect(0, 201), QRect(0, 32, 16, 16));
    EXPECT_EQ(at.pageCols(), (1920 - 16) / 16);
}

class ZoomedView : public ::testing::Test, protected gridtest::GridUser {
protected:
    void SetUp() override {
        host.resize(1000, 800);
        watch(*new ui::DrawGrid(&host));
        grid->setGeometry(0, 0, 900, 700);
        grid->setColCount(4097);
        grid->setRowCount(4097);
        host.show();
        QApplication::setActiveWindow(&host);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
        grid->setFocus();
    }
    void wheel(QPoint at, int delta, Qt::KeyboardModifiers modifiers) {
        QWheelEvent event(at, view()->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, modifiers, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(view(), &event);
    }
    QWidget host;
};

// Each step in and out, about points across the view: the cell under the point stays
// under it.
TEST_F(ZoomedView, AZoomStepKeepsTheCellUnderThePointer) {
    int checked = 0;
    for (const QPoint point : {QPoint(450, 350), QPoint(100, 80), QPoint(800, 600)}) {
        for (int index = 0; index + 1 < int(ui::kZoomLevels.size()); ++index) {
            grid->setZoom(index, point);
            grid->centreOn(2000, 2000);
            const ui::GridGeometry before = at();
            const gridtest::Cell cell{before.colAt(point.x()), before.rowAt(point.y())};
            grid->setZoom(index + 1, point);
            // Near the map's edges the view stops at its first or last page instead.
            const ui::ZoomLevel level = at().zoom;
            const int left = cell.first - (point.x() - at().headerWidth) * level.cells / level.pixels;
            const int top = cell.second - (point.y() - 16) * level.cells / level.pixels;
            if (left < 1 || left > at().maxLeftCol() || top < 1 || top > at().maxTopRow()) continue;
            EXPECT_EQ(at().colAt(point.x()), cell.first) << "out to level " << index + 1 << " at " << point.x();
            EXPECT_EQ(at().rowAt(point.y()), cell.second) << "out to level " << index + 1;
            grid->setZoom(index, point);
            EXPECT_EQ(at().colAt(point.x()), cell.first) << "back in to level " << index;
            EXPECT_EQ(at().rowAt(point.y()), cell.second);
            ++checked;
        }
    }
    EXPECT_GE(checked, 30);
}

TEST_F(ZoomedView, CtrlWheelZoomsAndAPressStampsTheCellUnderThePointer) {
    const QPoint point(500, 400);
    wheel(point, -120, Qt::ControlModifier);  // toward the user: out
    EXPECT_EQ(grid->zoomIndex(), ui::kStartZoom + 1);
    wheel(point, -240, Qt::ControlModifier);
    EXPECT_EQ(grid->zoomIndex(), ui::kStartZoom + 3);
    const gridtest::Cell under{at().colAt(point.x()), at().rowAt(point.y())};
    fired.clear();
    press(point);
    release(point);
    ASSERT_FALSE(fired.empty());
    EXPECT_EQ(fired.front(), under);
    EXPECT_EQ(current(), under);
    // Without Ctrl the wheel steps the current cell as ever.
    fired.clear();
    wheel(point, -120, {});
    EXPECT_EQ(fired, std::vector<gridtest::Cell>{gridtest::Cell(under.first, under.second + 1)});
    EXPECT_EQ(grid->zoomIndex(), ui::kStartZoom + 3);
}

TEST_F(ZoomedView, TheRulesOfTheViewHoldInCellsAtEveryLevel) {
    for (int index = 0; index < int(ui::kZoomLevels.size()); ++index) {
        grid->setZoom(index, {450, 350});
        grid->setCol(1);
        grid->setRow(1);
        fired.clear();
        QTest::keyClick(grid, Qt::Key_PageDown);
        const int pageRows = std::max(1, at().lastFullVisibleRow() - at().topRow);
        ASSERT_FALSE(fired.empty()) << index;
        EXPECT_EQ(fired.back().second, 1 + pageRows) << "a page at level " << index;
        QTest::keyClick(grid, Qt::Key_End);
        EXPECT_EQ(current().first, 4096) << "End at level " << index;
        EXPECT_LE(at().cellRect(current().first, current().second).right(), 899) << "the current cell is shown";
        // The last page still fills the view; the scroll bar steps in cells.
        EXPECT_EQ(at().leftCol, at().maxLeftCol());
    }
}

TEST_F(ZoomedView, FitShowsTheWholeMapAtTheLargestLevelThatHoldsIt) {
    grid->setColCount(33);
    grid->setRowCount(25);
    grid->zoomToFit();
    EXPECT_GE(at().visibleColCount(), 32);
    EXPECT_GE(at().visibleRowCount(), 24);
    EXPECT_EQ(at().zoom, (ui::ZoomLevel{24, 1})) << "32 x 24 cells in 900 x 700 pixels";
    grid->setColCount(4097);
    grid->setRowCount(4097);
    grid->zoomToFit();
    EXPECT_EQ(at().zoom, (ui::ZoomLevel{1, 8})) << "4096 cells in at most 700 - 16 pixels need 1/8";
    EXPECT_EQ(at().leftCol, 1);
}

}  // namespace

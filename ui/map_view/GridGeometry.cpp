#include "ui/map_view/GridGeometry.h"

#include <algorithm>

namespace ui {

namespace {

constexpr int kMarkerHalfWidth = 2;  // the row marker is 5 pixels wide

// One axis of the grid: its header's size and the zoom level's pixels per cells.
struct Axis {
    int header;
    int pixels;
    int cells;
};

// Each rule below holds for columns and rows alike: `count` cells of which `first`
// is the first data cell shown, in a viewport `pixels` wide or high.
int cellsThatFit(int pixels, const Axis& a) { return std::max(0, (pixels - a.header) * a.cells / a.pixels); }

int page(int pixels, const Axis& a) { return std::max(1, cellsThatFit(pixels, a)); }

int shownWhole(int count, int first, int pixels, const Axis& a) {
    return std::max(0, std::min(cellsThatFit(pixels, a), count - first));
}

int lastShownWhole(int count, int first, int pixels, const Axis& a) {
    return std::max(first, first + shownWhole(count, first, pixels, a) - 1);
}

int nearestData(int index, int count) { return std::max(1, std::min(index, std::max(1, count - 1))); }

int maxFirst(int count, int pixels, const Axis& a) { return std::max(1, count - page(pixels, a)); }

int firstShowing(int index, int first, int pixels, const Axis& a) {
    const int fitting = page(pixels, a);
    if (index < first) return index;
    if (index > first + fitting - 1) return index - fitting + 1;
    return first;
}

long long floorDiv(long long a, long long b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

int indexAt(int pixel, int first, const Axis& a) {
    if (pixel < 0) return -1;
    if (pixel < a.header) return 0;
    return first + (pixel - a.header) * a.cells / a.pixels;
}

// Where a cell starts, counted from its first shown cell (a cell below one pixel
// starts where the pixel that shows its square does).
long long edgeOf(long long index, long long first, const Axis& a) {
    if (index == 0) return 0;
    return a.header + floorDiv((index - first) * a.pixels, a.cells);
}

// A cell's extent along the axis: its pixels, or the one pixel its square shares.
int cellExtent(const Axis& a) { return std::max(1, a.pixels / a.cells); }

int gridEnd(int count, int first, const Axis& a) {
    const long long cells = std::max(0, count - first);
    return int(a.header + (cells * a.pixels + a.cells - 1) / a.cells);
}

Axis columns(const GridGeometry& g) { return {g.headerWidth, g.zoom.pixels, g.zoom.cells}; }
Axis rows(const GridGeometry& g) { return {GridGeometry::kHeader, g.zoom.pixels, g.zoom.cells}; }

}  // namespace

int GridGeometry::pageCols() const { return page(view.width(), columns(*this)); }
int GridGeometry::pageRows() const { return page(view.height(), rows(*this)); }
int GridGeometry::visibleColCount() const { return shownWhole(colCount, leftCol, view.width(), columns(*this)); }
int GridGeometry::visibleRowCount() const { return shownWhole(rowCount, topRow, view.height(), rows(*this)); }
int GridGeometry::lastFullVisibleCol() const { return lastShownWhole(colCount, leftCol, view.width(), columns(*this)); }
int GridGeometry::lastFullVisibleRow() const { return lastShownWhole(rowCount, topRow, view.height(), rows(*this)); }
int GridGeometry::maxLeftCol() const { return maxFirst(colCount, view.width(), columns(*this)); }
int GridGeometry::maxTopRow() const { return maxFirst(rowCount, view.height(), rows(*this)); }
int GridGeometry::dataCol(int col) const { return nearestData(col, colCount); }
int GridGeometry::dataRow(int row) const { return nearestData(row, rowCount); }
int GridGeometry::leftColShowing(int col) const { return firstShowing(col, leftCol, view.width(), columns(*this)); }
int GridGeometry::topRowShowing(int row) const { return firstShowing(row, topRow, view.height(), rows(*this)); }
int GridGeometry::colAt(int x) const { return indexAt(x, leftCol, columns(*this)); }
int GridGeometry::rowAt(int y) const { return indexAt(y, topRow, rows(*this)); }
int GridGeometry::fullVisibleRight() const { return int(edgeOf(lastFullVisibleCol() + 1, leftCol, columns(*this))); }
int GridGeometry::fullVisibleBottom() const { return int(edgeOf(lastFullVisibleRow() + 1, topRow, rows(*this))); }
int GridGeometry::gridRight() const { return gridEnd(colCount, leftCol, columns(*this)); }
int GridGeometry::gridBottom() const { return gridEnd(rowCount, topRow, rows(*this)); }

QRect GridGeometry::cellRect(int col, int row) const {
    if (!contains(col, row)) return {};
    if ((col > 0 && col < leftCol) || (row > 0 && row < topRow)) return {};
    const Axis x = columns(*this), y = rows(*this);
    return {int(edgeOf(col, leftCol, x)), int(edgeOf(row, topRow, y)), col == 0 ? headerWidth : cellExtent(x),
            row == 0 ? kHeader : cellExtent(y)};
}

QRect GridGeometry::blockRect(int col, int row, int blockCols, int blockRows) const {
    if (blockCols <= 0 || blockRows <= 0) return {};
    // In 64 bits: typed brush sizes can be any integer.
    const Axis x = columns(*this), y = rows(*this);
    const long long left = std::max<long long>(edgeOf(col, leftCol, x), headerWidth);
    const long long top = std::max<long long>(edgeOf(row, topRow, y), kHeader);
    const long long right = std::min<long long>(edgeOf((long long)col + blockCols, leftCol, x) +
                                                    (x.cells > 1 ? 1 : 0),
                                                std::max(headerWidth, view.width()));
    const long long bottom = std::min<long long>(edgeOf((long long)row + blockRows, topRow, y) + (y.cells > 1 ? 1 : 0),
                                                 std::max(kHeader, view.height()));
    if (left >= right || top >= bottom) return {};
    return {int(left), int(top), int(right - left), int(bottom - top)};
}

QRect GridGeometry::rowMarker(int dragRow, int dropRow) const {
    const QRect drop = cellRect(0, dropRow);
    if (drop.isEmpty()) return {};
    const int y = dropRow > dragRow ? drop.bottom() + 1 : drop.top();
    return {0, y - kMarkerHalfWidth, view.width(), 2 * kMarkerHalfWidth + 1};
}

}  // namespace ui

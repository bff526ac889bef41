#include "ui/map_view/GridGeometry.h"

#include <algorithm>

namespace ui {

namespace {

constexpr int kCell = GridGeometry::kCell;
constexpr int kHeader = GridGeometry::kHeader;
constexpr int kMarkerHalfWidth = 2;  // the row marker is 5 pixels wide

// Each rule below holds for columns and rows alike: `count` cells of which `first`
// is the first data cell shown, in a viewport `pixels` wide or high.
int cellsThatFit(int pixels) { return std::max(0, (pixels - kHeader) / kCell); }

int page(int pixels) { return std::max(1, cellsThatFit(pixels)); }

int shownWhole(int count, int first, int pixels) {
    return std::max(0, std::min(cellsThatFit(pixels), count - first));
}

int lastShownWhole(int count, int first, int pixels) {
    return std::max(first, first + shownWhole(count, first, pixels) - 1);
}

int nearestData(int index, int count) { return std::max(1, std::min(index, std::max(1, count - 1))); }

int maxFirst(int count, int pixels) { return std::max(1, count - page(pixels)); }

int firstShowing(int index, int first, int pixels) {
    const int fitting = page(pixels);
    if (index < first) return index;
    if (index > first + fitting - 1) return index - fitting + 1;
    return first;
}

int indexAt(int pixel, int first) {
    if (pixel < 0) return -1;
    if (pixel < kHeader) return 0;
    return first + (pixel - kHeader) / kCell;
}

int edgeOf(int index, int first) { return index == 0 ? 0 : kHeader + (index - first) * kCell; }

}  // namespace

int GridGeometry::pageCols() const { return page(view.width()); }
int GridGeometry::pageRows() const { return page(view.height()); }
int GridGeometry::visibleColCount() const { return shownWhole(colCount, leftCol, view.width()); }
int GridGeometry::visibleRowCount() const { return shownWhole(rowCount, topRow, view.height()); }
int GridGeometry::lastFullVisibleCol() const { return lastShownWhole(colCount, leftCol, view.width()); }
int GridGeometry::lastFullVisibleRow() const { return lastShownWhole(rowCount, topRow, view.height()); }
int GridGeometry::maxLeftCol() const { return maxFirst(colCount, view.width()); }
int GridGeometry::maxTopRow() const { return maxFirst(rowCount, view.height()); }
int GridGeometry::dataCol(int col) const { return nearestData(col, colCount); }
int GridGeometry::dataRow(int row) const { return nearestData(row, rowCount); }
int GridGeometry::leftColShowing(int col) const { return firstShowing(col, leftCol, view.width()); }
int GridGeometry::topRowShowing(int row) const { return firstShowing(row, topRow, view.height()); }
int GridGeometry::colAt(int x) const { return indexAt(x, leftCol); }
int GridGeometry::rowAt(int y) const { return indexAt(y, topRow); }
int GridGeometry::fullVisibleRight() const { return edgeOf(lastFullVisibleCol() + 1, leftCol); }
int GridGeometry::fullVisibleBottom() const { return edgeOf(lastFullVisibleRow() + 1, topRow); }
int GridGeometry::gridRight() const { return kHeader + std::max(0, colCount - leftCol) * kCell; }
int GridGeometry::gridBottom() const { return kHeader + std::max(0, rowCount - topRow) * kCell; }

QRect GridGeometry::cellRect(int col, int row) const {
    if (!contains(col, row)) return {};
    if ((col > 0 && col < leftCol) || (row > 0 && row < topRow)) return {};
    return {edgeOf(col, leftCol), edgeOf(row, topRow), kCell, kCell};
}

QRect GridGeometry::blockRect(int col, int row, int columns, int rows) const {
    if (columns <= 0 || rows <= 0) return {};
    // In 64 bits: typed brush sizes can be any integer.
    const auto edge = [](long long index, long long first) { return kHeader + (index - first) * kCell; };
    const long long left = std::max<long long>(edge(col, leftCol), kHeader);
    const long long top = std::max<long long>(edge(row, topRow), kHeader);
    const long long right = std::min<long long>(edge(col, leftCol) + (long long)columns * kCell,
                                                std::max(kHeader, view.width()));
    const long long bottom = std::min<long long>(edge(row, topRow) + (long long)rows * kCell,
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

#pragma once
// Where the map view's cells stand: one header column and one header row, cells of
// the zoom level's size (16 x 16 pixels at the start), the scroll position and the
// viewport's size. Plain arithmetic that the view's painting, input and scroll bars
// share; every rule counts in cells, whatever a cell's size.
#include <QRect>
#include <QSize>

#include "ui/map_view/ZoomLevel.h"

namespace ui {

struct GridGeometry {
    static constexpr int kCell = 16;       // a cell at the start-up level
    static constexpr int kHeader = kCell;  // the header row's height at every level

    int colCount = 2;
    int rowCount = 2;
    int leftCol = 1;  // the first data column shown next to the header column
    int topRow = 1;   // the first data row shown below the header row
    QSize view;       // the viewport
    ZoomLevel zoom;   // pixels a cell, or cells a pixel
    int headerWidth = kHeader;  // the header column, wider where whole row numbers need it

    // Data columns and rows the viewport holds whole, at least one: a scroll page.
    int pageCols() const;
    int pageRows() const;
    // Data columns and rows shown completely from the scroll position on.
    int visibleColCount() const;
    int visibleRowCount() const;
    int lastFullVisibleCol() const;
    int lastFullVisibleRow() const;
    // The largest scroll position: the last page still fills the view.
    int maxLeftCol() const;
    int maxTopRow() const;
    // The nearest data column and row: the current cell is always a data cell.
    int dataCol(int col) const;
    int dataRow(int row) const;
    // The scroll position nearest to this one that shows the data cell completely.
    int leftColShowing(int col) const;
    int topRowShowing(int row) const;

    bool contains(int col, int row) const { return col >= 0 && row >= 0 && col < colCount && row < rowCount; }
    // A cell's rectangle in viewport coordinates; empty when it is scrolled away.
    QRect cellRect(int col, int row) const;
    // The grid column or row under a viewport coordinate, counted on past the last
    // one; -1 before the view's start.
    int colAt(int x) const;
    int rowAt(int y) const;
    // The shown part of a block of data cells; any sizes, even beyond the grid.
    QRect blockRect(int col, int row, int columns, int rows) const;
    // The right and bottom edge of the whole cells shown, and of the grid.
    int fullVisibleRight() const;
    int fullVisibleBottom() const;
    int gridRight() const;
    int gridBottom() const;
    // The 5-pixel band of the row marker across the view at the drop row's edge
    // that faces away from the dragged row; empty when that row is scrolled away.
    QRect rowMarker(int dragRow, int dropRow) const;
};

}  // namespace ui

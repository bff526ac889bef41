#pragma once
// How the map view paints: each cell's background, its content by the owner's
// callback, the focus rectangle, the area beyond the cells and the row marker.
#include <QRect>
#include <functional>

#include "ui/map_view/GridGeometry.h"

class QFont;
class QPainter;
class QPalette;
class QRegion;

namespace ui {

// Draws the content of one cell after its background is filled. The painter's
// brush holds the cell's background colour and its pen the text colour.
using DrawCell = std::function<void(QPainter& painter, int ACol, int ARow, const QRect& rect, bool fixed)>;

// Draws the data cells of a zoomed-out view: `target` (viewport coordinates) starts at
// the edge of grid cell (firstCol, firstRow) and holds as many cells as fit it at
// `level`. The painter's brush holds the cells' background colour.
using DrawArea =
    std::function<void(QPainter& painter, const QRect& target, int firstCol, int firstRow, ZoomLevel level)>;

struct GridPaint {
    GridGeometry geometry;
    int col = 1;  // the current cell
    int row = 1;
    // The view holds its window's focus: the current cell shows the focus rectangle
    // instead of the highlight.
    bool activeControl = false;
    QRect rowMarker;  // empty without a row drag
};

// Draws the cells intersecting `region`, in the order corner, header row, header
// column, data cells row by row, then the area beyond them and the row marker.
// At every level but 16 pixels a cell the headers show whole numbers as often as
// they fit, and below 16 pixels `drawArea` draws the data cells.
void paintGrid(QPainter& painter, const QRegion& region, const GridPaint& grid, const QPalette& colours,
               const QFont& font, const DrawCell& drawCell, const DrawArea& drawArea = {});

}  // namespace ui

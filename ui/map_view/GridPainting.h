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
void paintGrid(QPainter& painter, const QRegion& region, const GridPaint& grid, const QPalette& colours,
               const QFont& font, const DrawCell& drawCell);

}  // namespace ui

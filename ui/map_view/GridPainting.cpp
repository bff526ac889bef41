#include "ui/map_view/GridPainting.h"

#include <QPainter>
#include <QPalette>
#include <QRegion>
#include <QVarLengthArray>
#include <algorithm>

namespace ui {

namespace {

constexpr int kHeader = GridGeometry::kHeader;

// The pixels a dotted focus rectangle or row marker inverts: every other pixel, as a
// checkerboard tied to the view so that neighbouring dots line up.
bool onDot(int x, int y) { return ((x + y) & 1) == 0; }

void invertPoints(QPainter& painter, const QVarLengthArray<QPoint, 128>& points) {
    if (points.isEmpty()) return;
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QColor(0xff, 0xff, 0xff));
    painter.drawPoints(points.constData(), int(points.size()));
    painter.restore();
}

void drawFocusRect(QPainter& painter, const QRect& cell) {
    QVarLengthArray<QPoint, 128> points;
    const int left = cell.left(), top = cell.top();
    const int right = cell.right(), bottom = cell.bottom();  // inclusive
    for (int x = left; x <= right; ++x) {
        if (onDot(x, top)) points.append({x, top});
        if (bottom != top && onDot(x, bottom)) points.append({x, bottom});
    }
    for (int y = top + 1; y < bottom; ++y) {
        if (onDot(left, y)) points.append({left, y});
        if (right != left && onDot(right, y)) points.append({right, y});
    }
    invertPoints(painter, points);
}

void drawRowMarker(QPainter& painter, const QRect& band) {
    QVarLengthArray<QPoint, 128> points;
    for (int y = band.top(); y <= band.bottom(); ++y)
        for (int x = band.left(); x <= band.right(); ++x)
            if (onDot(x, y)) points.append({x, y});
    invertPoints(painter, points);
}

}  // namespace

void paintGrid(QPainter& painter, const QRegion& region, const GridPaint& grid, const QPalette& colours,
               const QFont& font, const DrawCell& drawCell) {
    const QRect bounds = region.boundingRect();
    if (bounds.isEmpty()) return;
    const GridGeometry& at = grid.geometry;
    const bool testEachCell = region.rectCount() > 1;
    // Brushes and pens made once per paint: making them per cell allocates. The
    // system window colour is the base colour of text fields, not the button face.
    const QBrush window(colours.color(QPalette::Base));
    const QBrush button(colours.color(QPalette::Button));
    const QBrush highlight(colours.color(QPalette::Highlight));
    const QPen highlightText(colours.color(QPalette::HighlightedText));
    const QPen windowText(colours.color(QPalette::WindowText));
    painter.setFont(font);

    // Only the cells from the first shown data column and row to the view's edge are
    // visited, so the map's size does not enter the cost of a paint.
    const int firstCol = std::max(at.leftCol, at.colAt(std::max(bounds.left(), kHeader)));
    const int lastCol = bounds.right() < kHeader ? firstCol - 1 : std::min(at.colCount - 1, at.colAt(bounds.right()));
    const int firstRow = std::max(at.topRow, at.rowAt(std::max(bounds.top(), kHeader)));
    const int lastRow = bounds.bottom() < kHeader ? firstRow - 1 : std::min(at.rowCount - 1, at.rowAt(bounds.bottom()));
    const bool headerCol = bounds.left() < kHeader;
    const bool headerRow = bounds.top() < kHeader;

    const auto drawOne = [&](int col, int row) {
        const QRect rect = at.cellRect(col, row);
        if (testEachCell && !region.intersects(rect)) return;
        const bool fixed = col == 0 || row == 0;
        const bool current = !fixed && col == grid.col && row == grid.row;
        const bool highlighted = current && !grid.activeControl;
        const QBrush& background = fixed ? button : highlighted ? highlight : window;
        painter.fillRect(rect, background);
        painter.setBrush(background);
        painter.setPen(highlighted ? highlightText : windowText);
        if (drawCell) drawCell(painter, col, row, rect, fixed);
        if (current && grid.activeControl) drawFocusRect(painter, rect);
    };

    if (headerCol && headerRow) drawOne(0, 0);
    if (headerRow)
        for (int col = firstCol; col <= lastCol; ++col) drawOne(col, 0);
    if (headerCol)
        for (int row = firstRow; row <= lastRow; ++row) drawOne(0, row);
    for (int row = firstRow; row <= lastRow; ++row)
        for (int col = firstCol; col <= lastCol; ++col) drawOne(col, row);

    // Beyond the last column and below the last row.
    const int gridRight = at.gridRight();
    const int gridBottom = at.gridBottom();
    const int viewRight = std::max(bounds.right() + 1, gridRight);
    const int viewBottom = std::max(bounds.bottom() + 1, gridBottom);
    const QRect rightOfGrid = QRect(gridRight, 0, viewRight - gridRight, viewBottom) & bounds;
    const QRect belowGrid = QRect(0, gridBottom, gridRight, viewBottom - gridBottom) & bounds;
    if (!rightOfGrid.isEmpty()) painter.fillRect(rightOfGrid, window);
    if (!belowGrid.isEmpty()) painter.fillRect(belowGrid, window);

    const QRect marker = grid.rowMarker & bounds;
    if (!marker.isEmpty()) drawRowMarker(painter, marker);
}

}  // namespace ui

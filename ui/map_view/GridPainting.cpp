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

namespace {

// The smallest round step (1, 2, 5, 10, 20, 50 …) of at least `least`.
int roundStep(double least) {
    for (int power = 1;; power *= 10)
        for (const int mantissa : {1, 2, 5})
            if (mantissa * power >= least) return mantissa * power;
}

// The data cells a paint of `bounds` visits: from the first shown data column and row
// to the view's edge, so the map's size does not enter the cost of a paint. Empty
// (last before first) where `bounds` holds headers only.
struct CellSpan {
    int firstCol, lastCol, firstRow, lastRow;
};

CellSpan cellsIn(const QRect& bounds, const GridGeometry& at) {
    CellSpan span{};
    span.firstCol = std::max(at.leftCol, at.colAt(std::max(bounds.left(), at.headerWidth)));
    span.lastCol =
        bounds.right() < at.headerWidth ? span.firstCol - 1 : std::min(at.colCount - 1, at.colAt(bounds.right()));
    span.firstRow = std::max(at.topRow, at.rowAt(std::max(bounds.top(), kHeader)));
    span.lastRow =
        bounds.bottom() < kHeader ? span.firstRow - 1 : std::min(at.rowCount - 1, at.rowAt(bounds.bottom()));
    return span;
}

// Beyond the last column and below the last row, then the row marker over all.
void finishBeyondGrid(QPainter& painter, const QRect& bounds, const GridPaint& grid, int gridRight, int gridBottom,
                      const QBrush& window) {
    const int viewRight = std::max(bounds.right() + 1, gridRight);
    const int viewBottom = std::max(bounds.bottom() + 1, gridBottom);
    const QRect rightOfGrid = QRect(gridRight, 0, viewRight - gridRight, viewBottom) & bounds;
    const QRect belowGrid = QRect(0, gridBottom, gridRight, viewBottom - gridBottom) & bounds;
    if (!rightOfGrid.isEmpty()) painter.fillRect(rightOfGrid, window);
    if (!belowGrid.isEmpty()) painter.fillRect(belowGrid, window);
    const QRect marker = grid.rowMarker & bounds;
    if (!marker.isEmpty()) drawRowMarker(painter, marker);
}

// Whole numbers in the headers, every n-th column and row, n as small a round number
// as leaves room between them.
void drawHeaderNumbers(QPainter& painter, const QRect& bounds, const GridGeometry& at, int firstCol, int lastCol,
                       int firstRow, int lastRow, const QPen& text) {
    const QFontMetrics metrics = painter.fontMetrics();
    const double cellPixels = double(at.zoom.pixels) / at.zoom.cells;
    const int widest = metrics.horizontalAdvance(QString::number(std::max(at.colCount, at.rowCount)));
    const int colStep = roundStep((widest + 6) / cellPixels);
    const int rowStep = roundStep((metrics.height() + 2) / cellPixels);
    painter.setPen(text);
    if (bounds.top() < kHeader) {
        painter.save();
        painter.setClipRect(QRect(at.headerWidth, 0, at.view.width() - at.headerWidth, kHeader) & bounds);
        const int from = std::max(1, firstCol - (firstCol - 1) % colStep - colStep);
        // A number that would run past the grid's end is left out: every number shown is whole.
        const int end = std::min(at.gridRight(), at.view.width());
        for (int col = from; col <= lastCol; col += colStep) {
            const QRect cell = at.cellRect(col, 0);
            const QString number = QString::number(col - 1);
            if (cell.isEmpty() || cell.left() + 1 + metrics.horizontalAdvance(number) > end) continue;
            painter.drawText(QPoint(cell.left() + 1, 2 + metrics.ascent()), number);
        }
        painter.restore();
    }
    if (bounds.left() < at.headerWidth) {
        painter.save();
        painter.setClipRect(QRect(0, kHeader, at.headerWidth, at.view.height() - kHeader) & bounds);
        const int from = std::max(1, firstRow - (firstRow - 1) % rowStep - rowStep);
        const int end = std::min(at.gridBottom(), at.view.height());
        for (int row = from; row <= lastRow; row += rowStep) {
            const QRect cell = at.cellRect(0, row);
            if (cell.isEmpty() || cell.top() + metrics.height() > end) continue;
            painter.drawText(QPoint(2, cell.top() + metrics.ascent()), QString::number(row - 1));
        }
        painter.restore();
    }
}

// The current cell at a zoomed level: its focus rectangle, or a frame around it where
// the cell is too small to hold one.
void drawCurrentCell(QPainter& painter, const GridPaint& grid, const QBrush& highlight) {
    const GridGeometry& at = grid.geometry;
    QRect cell = at.cellRect(grid.col, grid.row);
    if (cell.isEmpty()) return;
    if (cell.width() < kBorderPixels) cell = cell.adjusted(-3, -3, 3, 3);
    if (grid.activeControl) {
        drawFocusRect(painter, cell);
        return;
    }
    painter.save();
    painter.setPen(QPen(highlight, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(cell.adjusted(0, 0, -1, -1));
    painter.restore();
}


// Every level but the start-up one: the same cells, the headers with whole numbers,
// and below 16 pixels a cell the data cells drawn in one go.
void paintZoomed(QPainter& painter, const QRect& bounds, const GridPaint& grid, const QPalette& colours,
                 const QFont& font, const DrawCell& drawCell, const DrawArea& drawArea) {
    const GridGeometry& at = grid.geometry;
    const QBrush window(colours.color(QPalette::Base));
    const QBrush button(colours.color(QPalette::Button));
    const QBrush highlight(colours.color(QPalette::Highlight));
    const QPen windowText(colours.color(QPalette::WindowText));
    painter.setFont(font);
    const auto [firstCol, lastCol, firstRow, lastRow] = cellsIn(bounds, at);

    const int gridRight = std::min(at.gridRight(), at.view.width());
    const int gridBottom = std::min(at.gridBottom(), at.view.height());
    painter.fillRect(QRect(0, 0, gridRight, kHeader) & bounds, button);
    painter.fillRect(QRect(0, 0, at.headerWidth, gridBottom) & bounds, button);
    drawHeaderNumbers(painter, bounds, at, firstCol, lastCol, firstRow, lastRow, windowText);

    const QRect cells = QRect(QPoint(at.headerWidth, kHeader), QPoint(gridRight - 1, gridBottom - 1)) & bounds;
    if (!cells.isEmpty() && firstCol <= lastCol && firstRow <= lastRow) {
        if (at.zoom.cells == 1 && at.zoom.pixels >= kNumberPixels) {
            for (int row = firstRow; row <= lastRow; ++row)
                for (int col = firstCol; col <= lastCol; ++col) {
                    const QRect rect = at.cellRect(col, row);
                    painter.fillRect(rect, window);
                    painter.setBrush(window);
                    painter.setPen(windowText);
                    if (drawCell) drawCell(painter, col, row, rect, false);
                }
        } else {
            const QRect first = at.cellRect(firstCol, firstRow);
            const QRect target(first.topLeft(), QPoint(gridRight - 1, gridBottom - 1));
            painter.save();
            painter.setClipRect(cells);
            painter.fillRect(target, window);
            painter.setBrush(window);
            if (drawArea) drawArea(painter, target, firstCol, firstRow, at.zoom);
            painter.restore();
        }
    }
    drawCurrentCell(painter, grid, highlight);
    finishBeyondGrid(painter, bounds, grid, gridRight, gridBottom, window);
}

}  // namespace

void paintGrid(QPainter& painter, const QRegion& region, const GridPaint& grid, const QPalette& colours,
               const QFont& font, const DrawCell& drawCell, const DrawArea& drawArea) {
    const QRect bounds = region.boundingRect();
    if (bounds.isEmpty()) return;
    if (grid.geometry.zoom != kZoomLevels[kStartZoom]) return paintZoomed(painter, bounds, grid, colours, font, drawCell, drawArea);
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

    const auto [firstCol, lastCol, firstRow, lastRow] = cellsIn(bounds, at);
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

    finishBeyondGrid(painter, bounds, grid, at.gridRight(), at.gridBottom(), window);
}

}  // namespace ui

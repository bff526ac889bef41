#include "ui/DrawGrid.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QScrollBar>
#include <QTimer>
#include <QVarLengthArray>
#include <QWheelEvent>
#include <algorithm>

namespace ui {

namespace {

constexpr int kCell = DrawGrid::kCellSize;
constexpr int kHeader = kCell;  // one fixed column and one fixed row
constexpr int kWheelNotch = 120;
constexpr int kMarkerHalfWidth = 2;  // the row marker is 5 pixels wide

enum class Drag { None, Stamping, Rows };

int clampTo(int value, int low, int high) { return std::max(low, std::min(value, high)); }

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

struct DrawGrid::Impl {
    int colCount = 2;
    int rowCount = 2;
    int col = 1;
    int row = 1;
    int leftCol = 1;
    int topRow = 1;
    Drag drag = Drag::None;
    QPoint pointer;  // last pointer position seen during a drag, viewport coordinates
    int dragRow = 0;
    int dropRow = 0;
    int wheelRemainder = 0;
    int dragCancels = 0;  // counts cancelDrag(), so a press can tell a failure was shown
    QTimer stepTimer;
};

DrawGrid::DrawGrid(QWidget* parent) : QAbstractScrollArea(parent), d(new Impl) {
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    // Tab focus only: a press takes the focus in mousePressEvent itself, so the leave
    // handling of the field that loses it runs, and may fail, inside the press.
    setFocusPolicy(Qt::TabFocus);
    QFont font(QString::fromUtf8("ＭＳ Ｐゴシック"));
    font.setPixelSize(11);
    font.setStyleStrategy(QFont::NoAntialias);
    setFont(font);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    d->stepTimer.setInterval(kStepMilliseconds);
    connect(&d->stepTimer, &QTimer::timeout, this, [this] { stepTimerTick(); });
    updateScrollBars();
}

DrawGrid::~DrawGrid() { delete d; }

int DrawGrid::ColCount() const { return d->colCount; }
int DrawGrid::RowCount() const { return d->rowCount; }
int DrawGrid::Col() const { return d->col; }
int DrawGrid::Row() const { return d->row; }
int DrawGrid::LeftCol() const { return d->leftCol; }
int DrawGrid::TopRow() const { return d->topRow; }
bool DrawGrid::isDragging() const { return d->drag != Drag::None; }

void DrawGrid::setColCount(int count) {
    d->colCount = std::max(count, 1);
    if (d->col > d->colCount - 1) d->col = std::max(1, d->colCount - 1);
    updateScrollBars();
    viewport()->update();
}

void DrawGrid::setRowCount(int count) {
    d->rowCount = std::max(count, 1);
    if (d->row > d->rowCount - 1) d->row = std::max(1, d->rowCount - 1);
    updateScrollBars();
    viewport()->update();
}

void DrawGrid::setCol(int col) { moveCurrent(col, d->row); }
void DrawGrid::setRow(int row) { moveCurrent(d->col, row); }

// ---- geometry ----

int DrawGrid::VisibleColCount() const {
    const int fitting = std::max(0, (viewport()->width() - kHeader) / kCell);
    return std::max(0, std::min(fitting, d->colCount - d->leftCol));
}

int DrawGrid::VisibleRowCount() const {
    const int fitting = std::max(0, (viewport()->height() - kHeader) / kCell);
    return std::max(0, std::min(fitting, d->rowCount - d->topRow));
}

int DrawGrid::lastFullVisibleCol() const {
    return std::max(d->leftCol, d->leftCol + VisibleColCount() - 1);
}

int DrawGrid::lastFullVisibleRow() const {
    return std::max(d->topRow, d->topRow + VisibleRowCount() - 1);
}

int DrawGrid::maxLeftCol() const {
    const int fitting = std::max(1, (viewport()->width() - kHeader) / kCell);
    return std::max(1, d->colCount - fitting);
}

int DrawGrid::maxTopRow() const {
    const int fitting = std::max(1, (viewport()->height() - kHeader) / kCell);
    return std::max(1, d->rowCount - fitting);
}

QRect DrawGrid::CellRect(int col, int row) const {
    if (col < 0 || row < 0 || col >= d->colCount || row >= d->rowCount) return {};
    if ((col > 0 && col < d->leftCol) || (row > 0 && row < d->topRow)) return {};
    const int x = col == 0 ? 0 : kHeader + (col - d->leftCol) * kCell;
    const int y = row == 0 ? 0 : kHeader + (row - d->topRow) * kCell;
    return {x, y, kCell, kCell};
}

namespace {
// Grid column or row under a viewport coordinate; -1 before the view's start.
int cellIndexAt(int pixel, int firstData) {
    if (pixel < 0) return -1;
    if (pixel < kHeader) return 0;
    return firstData + (pixel - kHeader) / kCell;
}
}  // namespace

bool DrawGrid::isActiveControl() const {
    const QWidget* focused = window()->focusWidget();
    return focused == this || focused == viewport();
}

// ---- scrolling ----

void DrawGrid::updateScrollBars() {
    const int fittingCols = std::max(1, (viewport()->width() - kHeader) / kCell);
    const int fittingRows = std::max(1, (viewport()->height() - kHeader) / kCell);
    horizontalScrollBar()->setRange(0, maxLeftCol() - 1);
    horizontalScrollBar()->setPageStep(fittingCols);
    horizontalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setRange(0, maxTopRow() - 1);
    verticalScrollBar()->setPageStep(fittingRows);
    verticalScrollBar()->setSingleStep(1);
    d->leftCol = horizontalScrollBar()->value() + 1;
    d->topRow = verticalScrollBar()->value() + 1;
}

void DrawGrid::setTopLeft(int leftCol, int topRow) {
    // The scroll bars hold the scroll position; scrollContentsBy follows them.
    horizontalScrollBar()->setValue(clampTo(leftCol, 1, maxLeftCol()) - 1);
    verticalScrollBar()->setValue(clampTo(topRow, 1, maxTopRow()) - 1);
}

void DrawGrid::scrollContentsBy(int, int) {
    d->leftCol = horizontalScrollBar()->value() + 1;
    d->topRow = verticalScrollBar()->value() + 1;
    viewport()->update();
}

void DrawGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void DrawGrid::scrollToShow(int col, int row) {
    int left = d->leftCol, top = d->topRow;
    const int fittingCols = std::max(1, (viewport()->width() - kHeader) / kCell);
    const int fittingRows = std::max(1, (viewport()->height() - kHeader) / kCell);
    if (col < left) left = col;
    else if (col > left + fittingCols - 1) left = col - fittingCols + 1;
    if (row < top) top = row;
    else if (row > top + fittingRows - 1) top = row - fittingRows + 1;
    setTopLeft(left, top);
}

// ---- current cell ----

bool DrawGrid::runGuarded(const std::function<void()>& action) {
    if (guard) return guard(action);
    action();
    return true;
}

bool DrawGrid::selectCell(int col, int row) {
    bool canSelect = true;
    const bool succeeded = runGuarded([&] {
        if (OnSelectCell) OnSelectCell(col, row, canSelect);
    });
    if (succeeded && canSelect) moveCurrent(col, row);
    return succeeded;
}

void DrawGrid::moveCurrent(int col, int row) {
    col = clampTo(col, 1, std::max(1, d->colCount - 1));
    row = clampTo(row, 1, std::max(1, d->rowCount - 1));
    invalidateCell(d->col, d->row);
    d->col = col;
    d->row = row;
    scrollToShow(col, row);
    invalidateCell(col, row);
}

void DrawGrid::invalidateCell(int col, int row) {
    const QRect rect = CellRect(col, row);
    if (!rect.isEmpty()) viewport()->update(rect);
}

void DrawGrid::invalidateCells(int col, int row, int columns, int rows) {
    if (columns <= 0 || rows <= 0) return;
    const QRect data(kHeader, kHeader, std::max(0, viewport()->width() - kHeader),
                     std::max(0, viewport()->height() - kHeader));
    // Work in 64 bits: typed brush sizes can be any integer.
    const auto edge = [](long long first, long long origin) { return kHeader + (first - origin) * kCell; };
    const long long left = std::max<long long>(edge(col, d->leftCol), data.left());
    const long long top = std::max<long long>(edge(row, d->topRow), data.top());
    const long long right = std::min<long long>(edge(col, d->leftCol) + (long long)columns * kCell, data.right() + 1);
    const long long bottom = std::min<long long>(edge(row, d->topRow) + (long long)rows * kCell, data.bottom() + 1);
    if (left < right && top < bottom)
        viewport()->update(QRect(int(left), int(top), int(right - left), int(bottom - top)));
}

void DrawGrid::repaintAll() { viewport()->repaint(); }

// ---- drawing ----

void DrawGrid::paintCells(QPainter& painter, const QRegion& region, bool activeControl) {
    const QRect bounds = region.boundingRect();
    if (bounds.isEmpty()) return;
    const bool testEachCell = region.rectCount() > 1;
    const QPalette& colours = palette();
    // Brushes and pens made once per paint: making them per cell allocates. The
    // system window colour is the base colour of text fields, not the button face.
    const QBrush window(colours.color(QPalette::Base));
    const QBrush button(colours.color(QPalette::Button));
    const QBrush highlight(colours.color(QPalette::Highlight));
    const QPen highlightText(colours.color(QPalette::HighlightedText));
    const QPen windowText(colours.color(QPalette::WindowText));
    painter.setFont(font());

    // Only the cells from the first shown data column and row to the view's edge are
    // visited, so the map's size does not enter the cost of a paint.
    const int firstCol = std::max(d->leftCol, cellIndexAt(std::max(bounds.left(), kHeader), d->leftCol));
    const int lastCol = bounds.right() < kHeader
                            ? firstCol - 1
                            : std::min(d->colCount - 1, cellIndexAt(bounds.right(), d->leftCol));
    const int firstRow = std::max(d->topRow, cellIndexAt(std::max(bounds.top(), kHeader), d->topRow));
    const int lastRow = bounds.bottom() < kHeader
                            ? firstRow - 1
                            : std::min(d->rowCount - 1, cellIndexAt(bounds.bottom(), d->topRow));
    const bool headerCol = bounds.left() < kHeader;
    const bool headerRow = bounds.top() < kHeader;

    const auto drawOne = [&](int col, int row) {
        const QRect rect = CellRect(col, row);
        if (testEachCell && !region.intersects(rect)) return;
        const bool fixed = col == 0 || row == 0;
        const bool current = !fixed && col == d->col && row == d->row;
        const bool highlighted = current && !activeControl;
        const QBrush& background = fixed ? button : highlighted ? highlight : window;
        painter.fillRect(rect, background);
        painter.setBrush(background);
        painter.setPen(highlighted ? highlightText : windowText);
        if (OnDrawCell) OnDrawCell(painter, col, row, rect, fixed);
        if (current && activeControl) drawFocusRect(painter, rect);
    };

    if (headerCol && headerRow) drawOne(0, 0);
    if (headerRow)
        for (int col = firstCol; col <= lastCol; ++col) drawOne(col, 0);
    if (headerCol)
        for (int row = firstRow; row <= lastRow; ++row) drawOne(0, row);
    for (int row = firstRow; row <= lastRow; ++row)
        for (int col = firstCol; col <= lastCol; ++col) drawOne(col, row);

    // Beyond the last column and below the last row.
    const int gridRight = kHeader + std::max(0, d->colCount - d->leftCol) * kCell;
    const int gridBottom = kHeader + std::max(0, d->rowCount - d->topRow) * kCell;
    const int viewRight = std::max(bounds.right() + 1, gridRight);
    const int viewBottom = std::max(bounds.bottom() + 1, gridBottom);
    const QRect rightOfGrid = QRect(gridRight, 0, viewRight - gridRight, viewBottom) & bounds;
    const QRect belowGrid = QRect(0, gridBottom, gridRight, viewBottom - gridBottom) & bounds;
    if (!rightOfGrid.isEmpty()) painter.fillRect(rightOfGrid, window);
    if (!belowGrid.isEmpty()) painter.fillRect(belowGrid, window);

    if (d->drag == Drag::Rows) {
        const int y = [&] {
            const QRect drop = CellRect(0, d->dropRow);
            if (drop.isEmpty()) return -1000;
            return d->dropRow > d->dragRow ? drop.bottom() + 1 : drop.top();
        }();
        const QRect band = QRect(0, y - kMarkerHalfWidth, viewport()->width(), 2 * kMarkerHalfWidth + 1) & bounds;
        if (!band.isEmpty()) drawRowMarker(painter, band);
    }
}

void DrawGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRegion region = event->region();
    const bool active = isActiveControl();
    runGuarded([&] { paintCells(painter, region, active); });
}

void DrawGrid::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    invalidateCell(d->col, d->row);
}

void DrawGrid::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    invalidateCell(d->col, d->row);
}

// ---- mouse ----

void DrawGrid::cancelDrag() {
    ++d->dragCancels;
    if (d->drag == Drag::Rows) invalidateMarker();
    d->drag = Drag::None;
    d->stepTimer.stop();
    viewport()->releaseMouse();
}

void DrawGrid::invalidateMarker() {
    const QRect drop = CellRect(0, d->dropRow);
    if (drop.isEmpty()) return;
    const int y = d->dropRow > d->dragRow ? drop.bottom() + 1 : drop.top();
    viewport()->update(QRect(0, y - kMarkerHalfWidth, viewport()->width(), 2 * kMarkerHalfWidth + 1));
}

void DrawGrid::mousePressEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    const Qt::MouseButton button = event->button();
    event->accept();
    const int cancelsBefore = d->dragCancels;
    // The focus comes first: the field that loses it finishes its leave handling
    // (and shows its failure) before anything is stamped.
    setFocus(Qt::MouseFocusReason);
    if (!isActiveControl() || button != Qt::LeftButton || d->drag != Drag::None) return;
    const int col = cellIndexAt(position.x(), d->leftCol);
    const int row = cellIndexAt(position.y(), d->topRow);
    if (col < 0 || row < 0 || col >= d->colCount || row >= d->rowCount) return;
    d->pointer = position;
    if (col >= 1 && row >= 1) {
        pressDataCell(col, row);
    } else if (col == 0 && row >= 1) {
        d->drag = Drag::Rows;
        d->dragRow = d->dropRow = row;
        d->stepTimer.start();
        invalidateMarker();
    }
    // A failure box shown during the leave handling took the button's release with
    // it: the press still does its work, but no drag outlives it.
    if (d->dragCancels != cancelsBefore && d->drag != Drag::None) cancelDrag();
}

void DrawGrid::pressDataCell(int col, int row) {
    d->drag = Drag::Stamping;
    d->stepTimer.start();
    // A failure shown here ends the drag: no stamping goes on with the button up.
    if (!selectCell(col, row)) cancelDrag();
}

void DrawGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double-click only takes the focus.
    event->accept();
    setFocus(Qt::MouseFocusReason);
}

void DrawGrid::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    const QPoint position = event->position().toPoint();
    if (d->drag == Drag::Stamping) stampingMove(position);
    else if (d->drag == Drag::Rows) rowDragMove(position);
}

void DrawGrid::stampingMove(QPoint position) {
    d->pointer = position;
    if (position.x() < kHeader || position.y() < kHeader) return;
    const int col = cellIndexAt(position.x(), d->leftCol);
    const int row = cellIndexAt(position.y(), d->topRow);
    // One partly shown column and row past the last full ones still count.
    if (col > std::min(lastFullVisibleCol() + 1, d->colCount - 1)) return;
    if (row > std::min(lastFullVisibleRow() + 1, d->rowCount - 1)) return;
    if (col == d->col && row == d->row) return;
    if (!selectCell(col, row)) cancelDrag();
}

void DrawGrid::rowDragMove(QPoint position) {
    d->pointer = position;
    const int lowest = std::min(lastFullVisibleRow(), d->rowCount - 1);
    const int row = clampTo(cellIndexAt(std::max(position.y(), kHeader), d->topRow), d->topRow, lowest);
    if (row == d->dropRow) return;
    invalidateMarker();
    d->dropRow = std::max(1, row);
    invalidateMarker();
}

void DrawGrid::stepTimerTick() {
    const QPoint p = d->pointer;
    const int dataRight = kHeader + (lastFullVisibleCol() - d->leftCol + 1) * kCell;
    const int dataBottom = kHeader + (lastFullVisibleRow() - d->topRow + 1) * kCell;
    if (d->drag == Drag::Rows) {
        if (p.y() < kHeader) setTopLeft(d->leftCol, d->topRow - 1);
        else if (p.y() >= dataBottom) setTopLeft(d->leftCol, d->topRow + 1);
        rowDragMove(p);
        return;
    }
    if (d->drag != Drag::Stamping) return;
    int col = d->col, row = d->row;
    if (p.x() < kHeader) { if (col > 1) --col; }
    else if (p.x() >= dataRight) { if (col < d->colCount - 1) ++col; }
    if (p.y() < kHeader) { if (row > 1) --row; }
    else if (p.y() >= dataBottom) { if (row < d->rowCount - 1) ++row; }
    if ((col != d->col || row != d->row) && !selectCell(col, row)) cancelDrag();
}

void DrawGrid::finishRowDrag() {
    const int from = d->dragRow, to = d->dropRow;
    invalidateMarker();
    d->drag = Drag::None;
    d->stepTimer.stop();
    // Only the current row follows, as if the dragged row had moved to the drop row.
    int row = d->row;
    if (row == from) row = to;
    else if (from < row && row <= to) --row;
    else if (to <= row && row < from) ++row;
    if (row != d->row) {
        invalidateCell(d->col, d->row);
        d->row = row;
        invalidateCell(d->col, d->row);
    }
}

void DrawGrid::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    const Qt::MouseButton button = event->button();
    if (button == Qt::LeftButton) {
        if (d->drag == Drag::Stamping) {
            stampingMove(event->position().toPoint());
            d->drag = Drag::None;
            d->stepTimer.stop();
        } else if (d->drag == Drag::Rows) {
            finishRowDrag();
        }
    }
    runGuarded([&] {
        if (OnMouseUp) OnMouseUp(button);
    });
}

// ---- keyboard and wheel ----

void DrawGrid::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Up: case Qt::Key_Down:
    case Qt::Key_PageUp: case Qt::Key_PageDown: case Qt::Key_Home: case Qt::Key_End:
        event->accept();
        handleKey(event->key(), event->modifiers().testFlag(Qt::ControlModifier));
        return;
    default:
        event->ignore();
    }
}

void DrawGrid::handleKey(int key, bool control) {
    const int pageWidth = std::max(1, lastFullVisibleCol() - d->leftCol);
    const int pageHeight = std::max(1, lastFullVisibleRow() - d->topRow);
    int col = d->col, row = d->row;
    int left = d->leftCol, top = d->topRow;
    if (control) {
        switch (key) {
        case Qt::Key_Left: col -= pageWidth; left -= pageWidth; break;
        case Qt::Key_Right: col += pageWidth; left += pageWidth; break;
        case Qt::Key_Up: --top; break;
        case Qt::Key_Down: ++top; break;
        case Qt::Key_PageUp: row = d->topRow; break;
        case Qt::Key_PageDown: row = lastFullVisibleRow(); break;
        case Qt::Key_Home: col = 1; row = 1; break;
        case Qt::Key_End: col = d->colCount - 1; row = d->rowCount - 1; break;
        }
    } else {
        switch (key) {
        case Qt::Key_Left: --col; break;
        case Qt::Key_Right: ++col; break;
        case Qt::Key_Up: --row; break;
        case Qt::Key_Down: ++row; break;
        case Qt::Key_PageUp: row -= pageHeight; top -= pageHeight; break;
        case Qt::Key_PageDown: row += pageHeight; top += pageHeight; break;
        case Qt::Key_Home: col = 1; break;
        case Qt::Key_End: col = d->colCount - 1; break;
        }
    }
    col = clampTo(col, 1, std::max(1, d->colCount - 1));
    row = clampTo(row, 1, std::max(1, d->rowCount - 1));
    if (left != d->leftCol || top != d->topRow) setTopLeft(left, top);
    if (col != d->col || row != d->row) selectCell(col, row);
}

void DrawGrid::wheelEvent(QWheelEvent* event) {
    event->accept();
    wheelTurned(event->angleDelta().y());
}

void DrawGrid::wheelTurned(int angleDelta) {
    if (!isActiveControl()) return;
    d->wheelRemainder += angleDelta;
    while (d->wheelRemainder >= kWheelNotch || d->wheelRemainder <= -kWheelNotch) {
        const bool awayFromUser = d->wheelRemainder > 0;
        d->wheelRemainder += awayFromUser ? -kWheelNotch : kWheelNotch;
        const int row = awayFromUser ? d->row - 1 : d->row + 1;
        if (row < 1 || row > d->rowCount - 1) continue;
        if (!selectCell(d->col, row)) {
            d->wheelRemainder = 0;
            return;
        }
    }
}

}  // namespace ui

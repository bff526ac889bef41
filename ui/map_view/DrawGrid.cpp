#include "ui/map_view/DrawGrid.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "ui/map_view/GridInput.h"

namespace ui {

DrawGrid::DrawGrid(QWidget* parent) : QAbstractScrollArea(parent), input_(std::make_unique<GridInput>(static_cast<GridControl&>(*this))) {
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
    updateScrollBars();
}

DrawGrid::~DrawGrid() = default;

int DrawGrid::ColCount() const { return cells_.colCount; }
int DrawGrid::RowCount() const { return cells_.rowCount; }
int DrawGrid::Col() const { return col_; }
int DrawGrid::Row() const { return row_; }

GridGeometry DrawGrid::gridGeometry() const {
    GridGeometry at = cells_;
    at.view = viewport()->size();
    return at;
}

int DrawGrid::headerWidthFor(int zoomIndex) const {
    if (zoomIndex == kStartZoom) return GridGeometry::kHeader;
    const int widest = fontMetrics().horizontalAdvance(QString::number(std::max(0, cells_.rowCount - 2)));
    return std::max(GridGeometry::kHeader, widest + 6);
}

void DrawGrid::setZoom(int index, QPoint anchor) {
    index = std::clamp(index, 0, int(kZoomLevels.size()) - 1);
    if (index == zoom_) return;
    const GridGeometry before = gridGeometry();
    const int col = before.dataCol(before.colAt(std::max(anchor.x(), before.headerWidth)));
    const int row = before.dataRow(before.rowAt(std::max(anchor.y(), GridGeometry::kHeader)));
    zoom_ = index;
    cells_.zoom = kZoomLevels[std::size_t(index)];
    cells_.headerWidth = headerWidthFor(index);
    const ZoomLevel level = cells_.zoom;
    // The cell that was under the anchor is under it again.
    const int left = col - std::max(0, anchor.x() - cells_.headerWidth) * level.cells / level.pixels;
    const int top = row - std::max(0, anchor.y() - GridGeometry::kHeader) * level.cells / level.pixels;
    updateScrollBars();
    setTopLeft(left, top);
    viewport()->update();
}

QPoint DrawGrid::zoomAnchor() const {
    const GridGeometry at = gridGeometry();
    const QRect current = at.cellRect(col_, row_);
    if (!current.isEmpty() && current.right() < at.view.width() && current.bottom() < at.view.height())
        return current.center();
    return {(at.headerWidth + at.view.width()) / 2, (GridGeometry::kHeader + at.view.height()) / 2};
}

void DrawGrid::zoomStep(int steps) { setZoom(zoom_ - steps, zoomAnchor()); }

void DrawGrid::zoomTurned(int angleDelta, QPoint global) {
    constexpr int kNotch = 120;
    zoomWheelRemainder_ += angleDelta;
    const int notches = zoomWheelRemainder_ / kNotch;
    zoomWheelRemainder_ -= notches * kNotch;
    if (notches == 0) return;
    const QPoint local = viewport()->mapFromGlobal(global);
    const GridGeometry at = gridGeometry();
    const bool overCells = local.x() >= at.headerWidth && local.y() >= GridGeometry::kHeader &&
                           local.x() < std::min(at.view.width(), at.gridRight()) &&
                           local.y() < std::min(at.view.height(), at.gridBottom());
    setZoom(zoom_ - notches, overCells ? local : zoomAnchor());
}

void DrawGrid::zoomToFit() {
    int fitting = int(kZoomLevels.size()) - 1;
    for (int index = 0; index < int(kZoomLevels.size()); ++index) {
        GridGeometry at = gridGeometry();
        at.zoom = kZoomLevels[std::size_t(index)];
        at.headerWidth = headerWidthFor(index);
        at.leftCol = at.topRow = 1;
        if (at.visibleColCount() >= at.colCount - 1 && at.visibleRowCount() >= at.rowCount - 1) {
            fitting = index;
            break;
        }
    }
    setZoom(fitting, {0, 0});
    setTopLeft(1, 1);
}

void DrawGrid::centreOn(int col, int row) {
    const GridGeometry at = gridGeometry();
    col = at.dataCol(col);
    row = at.dataRow(row);
    setTopLeft(col - (at.pageCols() - 1) / 2, row - (at.pageRows() - 1) / 2);
}

void DrawGrid::setColCount(int count) {
    cells_.colCount = std::max(count, 1);
    col_ = cells_.dataCol(col_);
    updateScrollBars();
    viewport()->update();
}

void DrawGrid::setRowCount(int count) {
    cells_.rowCount = std::max(count, 1);
    cells_.headerWidth = headerWidthFor(zoom_);
    row_ = cells_.dataRow(row_);
    updateScrollBars();
    viewport()->update();
}

void DrawGrid::setCol(int col) { moveCurrent(col, row_); }
void DrawGrid::setRow(int row) { moveCurrent(col_, row); }

bool DrawGrid::isActiveControl() const {
    const QWidget* focused = window()->focusWidget();
    return focused == this || focused == viewport();
}

// ---- scrolling ----

void DrawGrid::updateScrollBars() {
    const GridGeometry at = gridGeometry();
    horizontalScrollBar()->setRange(0, at.maxLeftCol() - 1);
    horizontalScrollBar()->setPageStep(at.pageCols());
    horizontalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setRange(0, at.maxTopRow() - 1);
    verticalScrollBar()->setPageStep(at.pageRows());
    verticalScrollBar()->setSingleStep(1);
    cells_.leftCol = horizontalScrollBar()->value() + 1;
    cells_.topRow = verticalScrollBar()->value() + 1;
}

void DrawGrid::setTopLeft(int leftCol, int topRow) {
    // The scroll bars hold the scroll position; scrollContentsBy follows them.
    const GridGeometry at = gridGeometry();
    horizontalScrollBar()->setValue(std::clamp(leftCol, 1, at.maxLeftCol()) - 1);
    verticalScrollBar()->setValue(std::clamp(topRow, 1, at.maxTopRow()) - 1);
}

void DrawGrid::scrollContentsBy(int, int) {
    cells_.leftCol = horizontalScrollBar()->value() + 1;
    cells_.topRow = verticalScrollBar()->value() + 1;
    viewport()->update();
}

void DrawGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void DrawGrid::scrollToShow(int col, int row) {
    const GridGeometry at = gridGeometry();
    setTopLeft(at.leftColShowing(col), at.topRowShowing(row));
}

// ---- what the input drives ----

void DrawGrid::takeMouseFocus() { setFocus(Qt::MouseFocusReason); }
void DrawGrid::invalidateRect(const QRect& rect) { viewport()->update(rect); }
void DrawGrid::releaseCellMouse() { viewport()->releaseMouse(); }

void DrawGrid::stampingDragStarted() {
    if (OnStampingDragStart) OnStampingDragStart();
}

void DrawGrid::stampingDragEnded() {
    if (OnStampingDragEnd) OnStampingDragEnd();
}

void DrawGrid::mouseReleased(Qt::MouseButton button) {
    if (OnMouseUp) OnMouseUp(button);
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
    col = cells_.dataCol(col);
    row = cells_.dataRow(row);
    invalidateCell(col_, row_);
    col_ = col;
    row_ = row;
    scrollToShow(col, row);
    invalidateCell(col, row);
}

void DrawGrid::placeCurrentRow(int row) {
    if (row == row_) return;
    invalidateCell(col_, row_);
    row_ = row;
    invalidateCell(col_, row_);
}

// ---- drawing ----

void DrawGrid::invalidateCell(int col, int row) {
    QRect rect = gridGeometry().cellRect(col, row);
    // Below 4 pixels a cell the current cell's frame lies around it.
    if (rect.width() < kBorderPixels) rect.adjust(-3, -3, 3, 3);
    if (!rect.isEmpty()) viewport()->update(rect);
}

void DrawGrid::invalidateCells(int col, int row, int columns, int rows) {
    const QRect block = gridGeometry().blockRect(col, row, columns, rows);
    if (!block.isEmpty()) viewport()->update(block);
}

void DrawGrid::repaintAll() { viewport()->repaint(); }

void DrawGrid::paintCells(QPainter& painter, const QRegion& region, bool activeControl) {
    const GridPaint grid{gridGeometry(), col_, row_, activeControl, input_->rowMarker()};
    paintGrid(painter, region, grid, palette(), font(), OnDrawCell, OnDrawArea);
}

void DrawGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRegion region = event->region();
    const bool active = isActiveControl();
    runGuarded([&] { paintCells(painter, region, active); });
}

void DrawGrid::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    invalidateCell(col_, row_);
}

void DrawGrid::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    invalidateCell(col_, row_);
}

// ---- input ----

void DrawGrid::mousePressEvent(QMouseEvent* event) { input_->mousePress(*event); }
void DrawGrid::mouseDoubleClickEvent(QMouseEvent* event) { input_->mouseDoubleClick(*event); }
void DrawGrid::mouseMoveEvent(QMouseEvent* event) { input_->mouseMove(*event); }
void DrawGrid::mouseReleaseEvent(QMouseEvent* event) { input_->mouseRelease(*event); }
void DrawGrid::keyPressEvent(QKeyEvent* event) { input_->keyPress(*event); }
void DrawGrid::cancelDrag() { input_->cancelDrag(); }
void DrawGrid::wheelTurned(int angleDelta) { input_->wheelTurned(angleDelta); }

void DrawGrid::wheelEvent(QWheelEvent* event) {
    event->accept();
    if (event->modifiers().testFlag(Qt::ControlModifier))
        zoomTurned(event->angleDelta().y(), event->globalPosition().toPoint());
    else
        wheelTurned(event->angleDelta().y());
}

}  // namespace ui

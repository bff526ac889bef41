#include "ui/map_view/GridInput.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>


namespace ui {

namespace {

constexpr int kHeader = GridGeometry::kHeader;
constexpr int kWheelNotch = 120;

}  // namespace

GridInput::GridInput(GridControl& grid) : grid_(grid) {
    stepTimer_.setInterval(kStepMilliseconds);
    QObject::connect(&stepTimer_, &QTimer::timeout, &stepTimer_, [this] { stepTimerTick(); });
}

QRect GridInput::rowMarker() const {
    return drag_ == Drag::Rows ? grid_.gridGeometry().rowMarker(dragRow_, dropRow_) : QRect();
}

void GridInput::invalidateMarker() {
    const QRect band = grid_.gridGeometry().rowMarker(dragRow_, dropRow_);
    if (!band.isEmpty()) grid_.invalidateRect(band);
}

// ---- mouse ----

void GridInput::cancelDrag() {
    ++dragCancels_;
    if (drag_ == Drag::Rows) invalidateMarker();
    const bool stamping = drag_ == Drag::Stamping;
    drag_ = Drag::None;
    stepTimer_.stop();
    grid_.releaseCellMouse();
    if (stamping) grid_.runGuarded([&] {
        grid_.stampingDragEnded();
    });
}

void GridInput::endStampingDrag() {
    if (drag_ != Drag::Stamping) return;
    drag_ = Drag::None;
    stepTimer_.stop();
    grid_.runGuarded([&] {
        grid_.stampingDragEnded();
    });
}

void GridInput::mousePress(QMouseEvent& event) {
    const QPoint position = event.position().toPoint();
    const Qt::MouseButton button = event.button();
    event.accept();
    const int cancelsBefore = dragCancels_;
    // The focus comes first: the field that loses it finishes its leave handling
    // (and shows its failure) before anything is stamped.
    grid_.takeMouseFocus();
    if (!grid_.isActiveControl() || button != Qt::LeftButton || drag_ != Drag::None) return;
    const GridGeometry at = grid_.gridGeometry();
    const int col = at.colAt(position.x());
    const int row = at.rowAt(position.y());
    if (!at.contains(col, row)) return;
    pointer_ = position;
    if (col >= 1 && row >= 1) {
        pressDataCell(col, row);
    } else if (col == 0 && row >= 1) {
        drag_ = Drag::Rows;
        dragRow_ = dropRow_ = row;
        stepTimer_.start();
        invalidateMarker();
    }
    // A failure box shown during the leave handling took the button's release with
    // it: the press still does its work, but no drag outlives it.
    if (dragCancels_ != cancelsBefore && drag_ != Drag::None) cancelDrag();
}

void GridInput::pressDataCell(int col, int row) {
    drag_ = Drag::Stamping;
    stepTimer_.start();
    grid_.runGuarded([&] {
        grid_.stampingDragStarted();
    });
    // A failure shown here ends the drag: no stamping goes on with the button up.
    if (drag_ == Drag::Stamping && !grid_.selectCell(col, row)) cancelDrag();
}

void GridInput::mouseDoubleClick(QMouseEvent& event) {
    // The second press of a double-click only takes the focus.
    event.accept();
    grid_.takeMouseFocus();
}

void GridInput::mouseMove(QMouseEvent& event) {
    event.accept();
    const QPoint position = event.position().toPoint();
    if (drag_ == Drag::Stamping) stampingMove(position);
    else if (drag_ == Drag::Rows) rowDragMove(position);
}

void GridInput::stampingMove(QPoint position) {
    pointer_ = position;
    const GridGeometry at = grid_.gridGeometry();
    if (position.x() < at.headerWidth || position.y() < kHeader) return;
    const int col = at.colAt(position.x());
    const int row = at.rowAt(position.y());
    // One partly shown column and row past the last full ones still count.
    if (col > std::min(at.lastFullVisibleCol() + 1, at.colCount - 1)) return;
    if (row > std::min(at.lastFullVisibleRow() + 1, at.rowCount - 1)) return;
    if (col == grid_.Col() && row == grid_.Row()) return;
    if (!grid_.selectCell(col, row)) cancelDrag();
}

void GridInput::rowDragMove(QPoint position) {
    pointer_ = position;
    const GridGeometry at = grid_.gridGeometry();
    const int lowest = std::min(at.lastFullVisibleRow(), at.rowCount - 1);
    const int row = std::max(at.topRow, std::min(at.rowAt(std::max(position.y(), kHeader)), lowest));
    if (row == dropRow_) return;
    invalidateMarker();
    dropRow_ = std::max(1, row);
    invalidateMarker();
}

void GridInput::stepTimerTick() {
    const QPoint p = pointer_;
    const GridGeometry at = grid_.gridGeometry();
    if (drag_ == Drag::Rows) {
        if (p.y() < kHeader) grid_.setTopLeft(at.leftCol, at.topRow - 1);
        else if (p.y() >= at.fullVisibleBottom()) grid_.setTopLeft(at.leftCol, at.topRow + 1);
        rowDragMove(p);
        return;
    }
    if (drag_ != Drag::Stamping) return;
    int col = grid_.Col(), row = grid_.Row();
    if (p.x() < at.headerWidth) { if (col > 1) --col; }
    else if (p.x() >= at.fullVisibleRight()) { if (col < at.colCount - 1) ++col; }
    if (p.y() < kHeader) { if (row > 1) --row; }
    else if (p.y() >= at.fullVisibleBottom()) { if (row < at.rowCount - 1) ++row; }
    if ((col != grid_.Col() || row != grid_.Row()) && !grid_.selectCell(col, row)) cancelDrag();
}

void GridInput::finishRowDrag() {
    const int from = dragRow_, to = dropRow_;
    invalidateMarker();
    drag_ = Drag::None;
    stepTimer_.stop();
    // Only the current row follows, as if the dragged row had moved to the drop row.
    int row = grid_.Row();
    if (row == from) row = to;
    else if (from < row && row <= to) --row;
    else if (to <= row && row < from) ++row;
    grid_.placeCurrentRow(row);
}

void GridInput::mouseRelease(QMouseEvent& event) {
    event.accept();
    const Qt::MouseButton button = event.button();
    if (button == Qt::LeftButton) {
        if (drag_ == Drag::Stamping) {
            stampingMove(event.position().toPoint());
            endStampingDrag();
        } else if (drag_ == Drag::Rows) {
            finishRowDrag();
        }
    }
    grid_.runGuarded([&] {
        grid_.mouseReleased(button);
    });
}

// ---- keyboard and wheel ----

void GridInput::keyPress(QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Up: case Qt::Key_Down:
    case Qt::Key_PageUp: case Qt::Key_PageDown: case Qt::Key_Home: case Qt::Key_End:
        event.accept();
        handleKey(event.key(), event.modifiers().testFlag(Qt::ControlModifier));
        return;
    default:
        event.ignore();
    }
}

void GridInput::handleKey(int key, bool control) {
    const GridGeometry at = grid_.gridGeometry();
    const int pageWidth = std::max(1, at.lastFullVisibleCol() - at.leftCol);
    const int pageHeight = std::max(1, at.lastFullVisibleRow() - at.topRow);
    int col = grid_.Col(), row = grid_.Row();
    int left = at.leftCol, top = at.topRow;
    if (control) {
        switch (key) {
        case Qt::Key_Left: col -= pageWidth; left -= pageWidth; break;
        case Qt::Key_Right: col += pageWidth; left += pageWidth; break;
        case Qt::Key_Up: --top; break;
        case Qt::Key_Down: ++top; break;
        case Qt::Key_PageUp: row = at.topRow; break;
        case Qt::Key_PageDown: row = at.lastFullVisibleRow(); break;
        case Qt::Key_Home: col = 1; row = 1; break;
        case Qt::Key_End: col = at.colCount - 1; row = at.rowCount - 1; break;
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
        case Qt::Key_End: col = at.colCount - 1; break;
        }
    }
    col = at.dataCol(col);
    row = at.dataRow(row);
    if (left != at.leftCol || top != at.topRow) grid_.setTopLeft(left, top);
    if (col != grid_.Col() || row != grid_.Row()) grid_.selectCell(col, row);
}

void GridInput::wheelTurned(int angleDelta) {
    if (!grid_.isActiveControl()) return;
    wheelRemainder_ += angleDelta;
    while (wheelRemainder_ >= kWheelNotch || wheelRemainder_ <= -kWheelNotch) {
        const bool awayFromUser = wheelRemainder_ > 0;
        wheelRemainder_ += awayFromUser ? -kWheelNotch : kWheelNotch;
        const int row = awayFromUser ? grid_.Row() - 1 : grid_.Row() + 1;
        if (row < 1 || row > grid_.RowCount() - 1) continue;
        if (!grid_.selectCell(grid_.Col(), row)) {
            wheelRemainder_ = 0;
            return;
        }
    }
}

}  // namespace ui

#pragma once
// What the map view's input needs of the view: where the cells stand, the current
// cell, and the moves and callbacks it drives. The view implements it, so the input
// depends on this alone and the view may own the input.
#include <QRect>
#include <Qt>
#include <functional>

#include "ui/map_view/GridGeometry.h"

namespace ui {

class GridControl {
public:
    virtual GridGeometry gridGeometry() const = 0;
    // The current cell, in grid coordinates, and the row count.
    virtual int Col() const = 0;
    virtual int Row() const = 0;
    virtual int RowCount() const = 0;
    virtual bool isActiveControl() const = 0;

    // Takes the keyboard focus as a mouse press does.
    virtual void takeMouseFocus() = 0;
    // Marks a rectangle of the cells' surface for drawing at the next paint.
    virtual void invalidateRect(const QRect& rect) = 0;
    // Gives up the mouse grab a press or drag holds on the cells' surface.
    virtual void releaseCellMouse() = 0;

    // Runs a callback inside the owner's failure boundary; false when it failed.
    virtual bool runGuarded(const std::function<void()>& action) = 0;
    // Fires the cell-selection callback and, when allowed, makes the cell current
    // and shows it; false when the callback failed.
    virtual bool selectCell(int col, int row) = 0;
    // Moves the current cell to another row without scrolling to it.
    virtual void placeCurrentRow(int row) = 0;
    virtual void setTopLeft(int leftCol, int topRow) = 0;

    // The owner's callbacks, run as they stand (the caller guards them).
    virtual void stampingDragStarted() = 0;
    virtual void stampingDragEnded() = 0;
    virtual void mouseReleased(Qt::MouseButton button) = 0;

protected:
    ~GridControl() = default;
};

}  // namespace ui

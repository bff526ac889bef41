#pragma once
// What the map view does with the mouse, the keys and the wheel: the stamping drag
// and its 60-millisecond step, the row drag, the keys that move the current cell
// and the wheel's notches. It reads the view's geometry and moves its current cell
// and scroll position through the view's GridControl.
#include <QPoint>
#include <QRect>
#include <QTimer>

#include "ui/map_view/GridControl.h"

class QKeyEvent;
class QMouseEvent;

namespace ui {


class GridInput {
public:
    static constexpr int kStepMilliseconds = 60;

    explicit GridInput(GridControl& grid);

    void mousePress(QMouseEvent& event);
    void mouseDoubleClick(QMouseEvent& event);
    void mouseMove(QMouseEvent& event);
    void mouseRelease(QMouseEvent& event);
    void keyPress(QKeyEvent& event);
    // A wheel rotation in eighths of a degree, positive away from the user.
    void wheelTurned(int angleDelta);
    // Ends a stamping or row drag and releases the mouse.
    void cancelDrag();
    // The row marker's band while a row drag runs; empty otherwise.
    QRect rowMarker() const;

private:
    enum class Drag { None, Stamping, Rows };

    void pressDataCell(int col, int row);
    void stampingMove(QPoint position);
    void rowDragMove(QPoint position);
    void stepTimerTick();
    void finishRowDrag();
    // Leaves a stamping drag, telling the owner; nothing when none runs.
    void endStampingDrag();
    void invalidateMarker();
    void handleKey(int key, bool control);

    GridControl& grid_;
    Drag drag_ = Drag::None;
    QPoint pointer_;  // last pointer position seen during a drag, viewport coordinates
    int dragRow_ = 0;
    int dropRow_ = 0;
    int wheelRemainder_ = 0;
    int dragCancels_ = 0;  // counts cancelDrag(), so a press can tell a failure was shown
    QTimer stepTimer_;
};

}  // namespace ui

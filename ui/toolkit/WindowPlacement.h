#pragma once
// Where the top-level windows stand on the screen and how large their frames are.
#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

class QWidget;
class QWindow;

namespace ui {

// The top-left corner for a window whose frame is `frame` large, beside the frame
// rectangle `owner` and inside `available`: right of it, else left of it, top edges
// level unless the screen's bottom pushes it up. Nothing when neither side has room,
// and the window system then places it.
std::optional<QPoint> placeBeside(const QRect& owner, QSize frame, const QRect& available);

// Fits the frame of the shown `window` to `outer` now and again each time the window
// system reports a different frame, until it has reported one (a window manager
// reports it some time after the window is shown) or `patienceMs` has passed.
void keepOuterSize(QWidget& window, QSize outer, int patienceMs);

// Runs the event loop until `window` is exposed on the screen (under a window manager:
// until the manager has taken and framed it) or `limitMs` has passed.
void waitUntilExposed(QWindow& window, int limitMs);

}  // namespace ui

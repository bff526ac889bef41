#include "ui/toolkit/Boundary.h"

#include <QWidget>
#include <exception>
#include <utility>

#include "core/text/failures.h"
#include "ui/convert/Cp932.h"
#include "ui/toolkit/Dialogs.h"

namespace ui {
namespace {

std::function<void()>& dragCancel() {
    static std::function<void()> cancel;
    return cancel;
}

// A drag in progress would go on stamping behind the modal box.
void endMouseCapture() {
    if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
    if (dragCancel()) dragCancel()();
}

}  // namespace

void setDragCancel(std::function<void()> cancel) { dragCancel() = std::move(cancel); }

bool guarded(Dialogs& dialogs, const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const std::exception& escaped) {
        endMouseCapture();
        dialogs.showFailure(fromCp932(core::failureText(escaped)));
    }
    return false;
}

}  // namespace ui

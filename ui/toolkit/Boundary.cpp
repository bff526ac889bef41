#include "ui/Boundary.h"

#include <QWidget>
#include <exception>

#include "core/failures.h"
#include "ui/Cp932.h"
#include "ui/Dialogs.h"
#include "ui/DrawGrid.h"
#include "ui/Unit1.h"

namespace ui {
namespace {

// A drag in progress would go on stamping behind the modal box.
void endMouseCapture() {
    if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
    if (Form1 && Form1->DrawGrid1) Form1->DrawGrid1->cancelDrag();
}

}  // namespace

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

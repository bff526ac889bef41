#include "ui/Boundary.h"

#include <QWidget>
#include <new>

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

void showFailure(Dialogs& dialogs, const core::Failure& failure) {
    endMouseCapture();
    dialogs.showFailure(fromCp932(core::textToShow(failure)));
}

bool guarded(Dialogs& dialogs, const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const core::Failure& failure) {
        showFailure(dialogs, failure);
    } catch (const std::bad_alloc&) {
        showFailure(dialogs, core::OutOfMemoryFailure());
    } catch (const std::exception& other) {
        // No failure kind of ours: still shown, never carried through Qt.
        showFailure(dialogs, core::Failure(other.what()));
    }
    return false;
}

}  // namespace ui

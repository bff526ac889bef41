#include "ui/toolkit/FocusOutWatcher.h"

#include <QFocusEvent>

namespace ui {

FocusOutWatcher::FocusOutWatcher(QObject* watched, std::function<void()> onFocusOut)
    : QObject(watched), onFocusOut_(std::move(onFocusOut)) {
    watched->installEventFilter(this);
}

bool FocusOutWatcher::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // The menu bar takes the keyboard only while it is worked with (Alt), then gives it back.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
            reason != Qt::MenuBarFocusReason)
            onFocusOut_();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace ui

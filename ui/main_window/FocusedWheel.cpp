#include "ui/main_window/FocusedWheel.h"

#include <QCoreApplication>
#include <QWheelEvent>
#include <QWidget>

#include "ui/map_view/DrawGrid.h"

namespace ui {

FocusedWheel::FocusedWheel(DrawGrid* view) : QObject(view), view_(view) {
    QCoreApplication::instance()->installEventFilter(this);
}

bool FocusedWheel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel || !watched->isWidgetType()) return false;
    if (static_cast<QWidget*>(watched)->window() != view_->window()) return false;
    const auto* wheel = static_cast<QWheelEvent*>(event);
    // Ctrl + wheel zooms the view from anywhere in its window, focused or not.
    if (wheel->modifiers().testFlag(Qt::ControlModifier)) {
        view_->zoomTurned(wheel->angleDelta().y(), wheel->globalPosition().toPoint());
        return true;
    }
    if (!view_->isActiveControl()) return false;
    view_->wheelTurned(wheel->angleDelta().y());
    return true;
}

}  // namespace ui

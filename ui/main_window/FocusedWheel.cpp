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
    if (static_cast<QWidget*>(watched)->window() != view_->window() || !view_->isActiveControl()) return false;
    view_->wheelTurned(static_cast<QWheelEvent*>(event)->angleDelta().y());
    return true;
}

}  // namespace ui

#include "ui/main_window/ScrollExtents.h"

#include <QEvent>
#include <QWidget>
#include <algorithm>

namespace ui {

QSize contentExtents(const QWidget& content) {
    int right = 0;
    int bottom = 0;
    for (const QWidget* child : content.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isHidden()) continue;
        right = std::max(right, child->x() + child->width());
        bottom = std::max(bottom, child->y() + child->height());
    }
    return {right, bottom};
}

ScrollExtentsWatcher::ScrollExtentsWatcher(QWidget* content) : QObject(content), content_(content) {
    for (QWidget* child : content->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) child->installEventFilter(this);
}

void ScrollExtentsWatcher::update() {
    const QSize extents = contentExtents(*content_);
    if (content_->size() != extents) content_->resize(extents);
}

bool ScrollExtentsWatcher::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
            update();
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace ui

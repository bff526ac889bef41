#include "ui/sheet/SheetView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QtMath>

namespace ui {

SheetView::SheetView(QWidget* parent) : QWidget(parent) {
    // Before any sheet the view is a single pixel that shows nothing.
    resize(1, 1);
}

void SheetView::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void SheetView::drawOnPicture(const std::function<void(QImage&)>& draw) {
    draw(picture_);
    update();
}

void SheetView::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) return;
    // Natural size from the top-left: no stretching, no centring.
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
}

// Every button picks; a double-click arrives here too (QWidget forwards it as a press).
void SheetView::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (!OnMouseDown) return;
    // The pixel under the pointer: round down, so a press never lands on the next pixel.
    const QPointF at = event->position();
    OnMouseDown(event->button(), event->modifiers(), qFloor(at.x()), qFloor(at.y()));
}

}  // namespace ui

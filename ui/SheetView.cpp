// Placeholder until the sheet view lands.
#include "ui/SheetView.h"
namespace ui {
SheetView::SheetView(QWidget* parent) : QWidget(parent) {}
void SheetView::setPicture(const QImage& picture) { picture_ = picture; update(); }
void SheetView::paintEvent(QPaintEvent*) {}
void SheetView::mousePressEvent(QMouseEvent*) {}
}  // namespace ui

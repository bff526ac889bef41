#include "ui/settings_window/RadioGroupBox.h"

#include <QPainter>
#include <qdrawutil.h>

namespace ui {
namespace {
constexpr int kCaptionLeft = 8;
constexpr int kCaptionPadding = 2;
}  // namespace

RadioGroupBox::RadioGroupBox(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}

// An etched frame drawn here: the style's own group frame would start below the
// caption and run through the first item.
void RadioGroupBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const QRect frame = rect().adjusted(0, metrics.height() / 2, 0, 0);
    qDrawShadeRect(&painter, frame, palette(), true, 1);
    const QRect caption(kCaptionLeft, 0, metrics.horizontalAdvance(title()) + 2 * kCaptionPadding, metrics.height());
    painter.fillRect(caption, palette().brush(backgroundRole()));
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(caption, Qt::AlignCenter | Qt::TextSingleLine, title());
}

}  // namespace ui

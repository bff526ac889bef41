#include "ui/OpaqueNumbers.h"

#include <QFontMetrics>
#include <QPainter>
#include <charconv>

namespace ui {

const OpaqueNumbers::Digits& OpaqueNumbers::digitsFor(const QFont& font, const QColor& text,
                                                      const QColor& box) {
    if (font != font_) {
        font_ = font;
        rendered_.clear();
    }
    for (const Digits& digits : rendered_)
        if (digits.text == text && digits.box == box) return digits;

    Digits digits{text, box, {}, {}, {}};
    const QFontMetrics metrics(font);
    int width = 0;
    for (int digit = 0; digit < 10; ++digit) {
        digits.left[digit] = width;
        digits.advance[digit] = metrics.horizontalAdvance(QChar(u'0' + digit));
        width += digits.advance[digit];
    }
    digits.strip = QImage(std::max(width, 1), std::max(metrics.height(), 1), QImage::Format_RGB32);
    digits.strip.fill(box);
    QPainter painter(&digits.strip);
    painter.setFont(font);
    painter.setPen(text);
    // Each digit alone: digits of one font line up without kerning between them.
    for (int digit = 0; digit < 10; ++digit)
        painter.drawText(QPoint(digits.left[digit], metrics.ascent()), QString(QChar(u'0' + digit)));
    painter.end();
    rendered_.push_back(std::move(digits));
    return rendered_.back();
}

void OpaqueNumbers::draw(QPainter& painter, const QFont& font, QPoint topLeft, std::uint32_t value,
                         const QColor& text, const QColor& box, const QRect& clip) {
    const Digits& digits = digitsFor(font, text, box);
    char buffer[16];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    const int height = digits.strip.height();
    int x = topLeft.x();
    for (const char* c = buffer; c != end && x <= clip.right(); ++c) {
        const int digit = *c - '0';
        const QRect target = QRect(x, topLeft.y(), digits.advance[digit], height) & clip;
        if (!target.isEmpty()) {
            const QRect source(digits.left[digit] + (target.x() - x), target.y() - topLeft.y(),
                               target.width(), target.height());
            painter.drawImage(target.topLeft(), digits.strip, source);
        }
        x += digits.advance[digit];
    }
}

}  // namespace ui

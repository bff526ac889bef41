#include "ui/map_view/OpaqueNumbers.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
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
    std::array<QString, 110> pieces;
    for (int digit = 0; digit < 10; ++digit) pieces[digit] = QString::number(digit);
    for (int pair = 0; pair < 100; ++pair) pieces[10 + pair] = pieces[pair / 10] + pieces[pair % 10];
    int width = 0;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        digits.left[i] = width;
        // Pieces are laid out digit by digit: digits of one font do not kern.
        digits.advance[i] = 0;
        for (QChar c : pieces[i]) digits.advance[i] += metrics.horizontalAdvance(c);
        width += digits.advance[i];
    }
    digits.strip = QImage(std::max(width, 1), std::max(metrics.height(), 1), QImage::Format_RGB32);
    digits.strip.fill(box);
    QPainter painter(&digits.strip);
    painter.setFont(font);
    painter.setPen(text);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        int x = digits.left[i];
        for (QChar c : pieces[i]) {
            painter.drawText(QPoint(x, metrics.ascent()), QString(c));
            x += metrics.horizontalAdvance(c);
        }
    }
    painter.end();
    rendered_.push_back(std::move(digits));
    return rendered_.back();
}

template <typename Copy>
void OpaqueNumbers::placePieces(const Digits& digits, QPoint topLeft, std::uint32_t value, const QRect& clip,
                                Copy&& copy) {
    char buffer[16];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    const int height = digits.strip.height();
    const int length = int(end - buffer);
    int x = topLeft.x();
    // An odd digit first on its own, then pairs.
    for (int at = 0; at < length && x <= clip.right();) {
        const bool single = at == 0 && length % 2 == 1;
        const int piece = single ? buffer[0] - '0' : 10 + (buffer[at] - '0') * 10 + (buffer[at + 1] - '0');
        at += single ? 1 : 2;
        const QRect target = QRect(x, topLeft.y(), digits.advance[piece], height) & clip;
        if (!target.isEmpty()) {
            const QRect source(digits.left[piece] + (target.x() - x), target.y() - topLeft.y(),
                               target.width(), target.height());
            copy(target, source);
        }
        x += digits.advance[piece];
    }
}

void OpaqueNumbers::draw(QPainter& painter, const QFont& font, QPoint topLeft, std::uint32_t value,
                         const QColor& text, const QColor& box, const QRect& clip) {
    const Digits& digits = digitsFor(font, text, box);
    placePieces(digits, topLeft, value, clip, [&](const QRect& target, const QRect& source) {
        painter.drawImage(target.topLeft(), digits.strip, source);
    });
}

void OpaqueNumbers::drawInto(QImage& image, const QFont& font, QPoint topLeft, std::uint32_t value,
                             const QColor& text, const QColor& box, const QRect& clip) {
    const Digits& digits = digitsFor(font, text, box);
    placePieces(digits, topLeft, value, clip & image.rect(), [&](const QRect& target, const QRect& source) {
        for (int row = 0; row < target.height(); ++row) {
            const auto* from = reinterpret_cast<const QRgb*>(digits.strip.constScanLine(source.y() + row)) + source.x();
            auto* to = reinterpret_cast<QRgb*>(image.scanLine(target.y() + row)) + target.x();
            std::copy(from, from + target.width(), to);
        }
    });
}

}  // namespace ui

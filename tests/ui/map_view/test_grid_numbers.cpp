// Opaque numbers drawn from rendered digit pieces.
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "ui/map_view/OpaqueNumbers.h"
#include "ui/toolkit/WindowFonts.h"

namespace {

const QColor kText(0, 0, 0), kBox(255, 255, 255), kAround(0, 128, 0);

QImage canvas() {
    QImage image(80, 20, QImage::Format_RGB32);
    image.fill(kAround);
    return image;
}

QImage wholeText(const QFont& font, const QString& text, const QRect& clip) {
    QImage image = canvas();
    QPainter painter(&image);
    painter.setFont(font);
    painter.setClipRect(clip);
    const QFontMetrics metrics(font);
    painter.fillRect(QRect(1, 2, metrics.horizontalAdvance(text), metrics.height()), kBox);
    painter.setPen(kText);
    painter.drawText(QPoint(1, 2 + metrics.ascent()), text);
    return image;
}

QImage fromPieces(ui::OpaqueNumbers& numbers, const QFont& font, std::uint32_t value, const QRect& clip) {
    QImage image = canvas();
    QPainter painter(&image);
    numbers.draw(painter, font, QPoint(1, 2), value, kText, kBox, clip);
    return image;
}

// Digits stand at whole-pixel advances, one after the other, as the system's own
// text output places them; each digit looks as the font draws it alone.
TEST(OpaqueNumbers, DigitsStandSideBySideInOneBox) {
    QFont font = ui::windowFont(11);
    font.setStyleStrategy(QFont::NoAntialias);  // exact pixels
    const QFontMetrics metrics(font);
    ui::OpaqueNumbers numbers;
    const QRect everything(0, 0, 80, 20);
    for (std::uint32_t value : {0u, 7u, 10u, 305u, 4464u, 65535u}) {
        const QString text = QString::number(value);
        const QImage drawn = fromPieces(numbers, font, value, everything);
        int x = 1;
        for (QChar digit : text) {
            const int advance = metrics.horizontalAdvance(digit);
            const QImage alone = wholeText(font, digit, everything);
            EXPECT_EQ(drawn.copy(x, 2, advance, metrics.height()), alone.copy(1, 2, advance, metrics.height()))
                << value << " digit " << QString(digit).toStdString();
            x += advance;
        }
        // Nothing drawn outside the box.
        const QRect box(1, 2, x - 1, metrics.height());
        for (int y = 0; y < 20; ++y)
            for (int px = 0; px < 80; ++px) {
                if (!box.contains(px, y)) {
                    ASSERT_EQ(drawn.pixelColor(px, y), kAround) << value;
                }
            }
    }

    // Cut at a cell's edges: what lies inside is the same, nothing outside changes.
    const QRect cell(0, 0, 16, 16);
    const QImage cut = fromPieces(numbers, font, 65535, cell);
    const QImage whole = fromPieces(numbers, font, 65535, everything);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 80; ++x)
            ASSERT_EQ(cut.pixelColor(x, y), cell.contains(x, y) ? whole.pixelColor(x, y) : kAround) << x << "," << y;
    // Another colour pair is rendered on its own.
    QImage other = canvas();
    QPainter painter(&other);
    numbers.draw(painter, font, QPoint(1, 2), 8, kBox, kText, everything);
    EXPECT_EQ(other.pixelColor(1, 2), kText);
}

}  // namespace

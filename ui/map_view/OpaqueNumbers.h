#pragma once
// Decimal numbers drawn opaque (the box behind the characters in a given colour)
// from digit images rendered once per font and colour pair, so that a full view of
// tile numbers costs one to three image copies per cell instead of a text layout each.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <array>
#include <cstdint>
#include <vector>

class QPainter;

namespace ui {

class OpaqueNumbers {
public:
    // Draws `value` with its box's top-left at `topLeft`, cut at `clip`.
    void draw(QPainter& painter, const QFont& font, QPoint topLeft, std::uint32_t value,
              const QColor& text, const QColor& box, const QRect& clip);
    // The same pixels copied straight into an RGB32 image, without a painter.
    void drawInto(QImage& image, const QFont& font, QPoint topLeft, std::uint32_t value,
                  const QColor& text, const QColor& box, const QRect& clip);

private:
    struct Digits {
        QColor text;
        QColor box;
        // "0" to "9", then "00" to "99", side by side: a number is drawn as few
        // image copies as possible, a pair of digits at a time.
        QImage strip;
        std::array<int, 110> left{};     // each piece's place in the strip
        std::array<int, 110> advance{};
    };

    const Digits& digitsFor(const QFont& font, const QColor& text, const QColor& box);
    // Calls copy(target, source) for each piece of `value` that lies inside `clip`:
    // `source` is the piece's part in the strip, `target` where it goes.
    template <typename Copy>
    static void placePieces(const Digits& digits, QPoint topLeft, std::uint32_t value, const QRect& clip,
                            Copy&& copy);

    QFont font_;
    std::vector<Digits> rendered_;
};

}  // namespace ui

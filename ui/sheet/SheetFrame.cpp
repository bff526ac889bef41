#include "ui/sheet/SheetFrame.h"

#include <algorithm>

namespace ui {

namespace {

constexpr QRgb kFrameColour = 0xFF000000;  // solid black

void drawRow(QImage& picture, std::int64_t y, std::int64_t fromX, std::int64_t toX) {
    if (y < 0 || y >= picture.height()) return;
    const std::int64_t first = std::max<std::int64_t>(fromX, 0);
    const std::int64_t last = std::min<std::int64_t>(toX, picture.width());
    auto* line = reinterpret_cast<QRgb*>(picture.scanLine(static_cast<int>(y)));
    for (std::int64_t x = first; x < last; ++x) line[x] = kFrameColour;
}

void drawColumn(QImage& picture, std::int64_t x, std::int64_t fromY, std::int64_t toY) {
    if (x < 0 || x >= picture.width()) return;
    const std::int64_t first = std::max<std::int64_t>(fromY, 0);
    const std::int64_t last = std::min<std::int64_t>(toY, picture.height());
    for (std::int64_t y = first; y < last; ++y)
        reinterpret_cast<QRgb*>(picture.scanLine(static_cast<int>(y)))[x] = kFrameColour;
}

}  // namespace

void drawFrame(QImage& picture, const core::PixelRect& frame) {
    if (frame.right <= frame.left || frame.bottom <= frame.top) return;
    if (picture.format() != QImage::Format_RGB32 && picture.format() != QImage::Format_ARGB32)
        picture = picture.convertToFormat(QImage::Format_RGB32);
    drawRow(picture, frame.top, frame.left, frame.right);
    drawRow(picture, frame.bottom - 1, frame.left, frame.right);
    drawColumn(picture, frame.left, frame.top, frame.bottom);
    drawColumn(picture, frame.right - 1, frame.top, frame.bottom);
}

}  // namespace ui

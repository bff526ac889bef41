#include "ui/CellPainter.h"

#include <QPainter>

#include "core/tile_geometry.h"

namespace ui {

namespace {
constexpr QPoint kTextOffset{1, 2};
}

void CellPainter::drawNumber(QPainter& painter, const QFont& font, std::uint32_t value, const QRect& cell) {
    numbers_.draw(painter, font, cell.topLeft() + kTextOffset, value, painter.pen().color(),
                  painter.brush().color(), cell);
}

const QImage& CellPainter::sheetImage(const core::Bitmap& sheet) {
    const void* pixels = sheet.pixels.data();
    if (pixels != sheetPixels_ || sheet.width != sheetWidth_ || sheet.height != sheetHeight_) {
        sheetPixels_ = pixels;
        sheetWidth_ = sheet.width;
        sheetHeight_ = sheet.height;
        const bool whole = !sheet.empty() &&
                           sheet.pixels.size() == static_cast<std::size_t>(sheet.width) * sheet.height;
        sheet_ = whole ? QImage(reinterpret_cast<const uchar*>(sheet.pixels.data()), sheet.width, sheet.height,
                                sheet.width * 4, QImage::Format_RGB32)
                       : QImage();
    }
    return sheet_;
}

void CellPainter::drawTile(QPainter& painter, const core::Bitmap& sheet, int sheetColumns, core::Cell tile,
                           const QRect& cell) {
    const QImage& image = sheetImage(sheet);
    if (image.isNull()) return;
    const auto square = core::tileRect(tile, sheetColumns);
    if (!square || square->right > image.width() || square->bottom > image.height()) return;
    painter.drawImage(cell, image, QRect(int(square->left), int(square->top), core::kTileSize, core::kTileSize));
}

void CellPainter::drawBorder(QPainter& painter, const QRect& cell) {
    static const QBrush black(QColor(0, 0, 0));
    painter.fillRect(QRect(cell.right(), cell.top(), 1, cell.height()), black);
    painter.fillRect(QRect(cell.left() + 1, cell.bottom(), cell.width() - 1, 1), black);
}

}  // namespace ui

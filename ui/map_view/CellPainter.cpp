#include "ui/map_view/CellPainter.h"

#include <QPainter>
#include <algorithm>

#include "core/map/tile_geometry.h"

namespace ui {

namespace {
constexpr QPoint kTextOffset{1, 2};
// About a megabyte per thousand cells; a full view holds about eight thousand.
constexpr std::size_t kMaxComposedCells = 16384;
// Colour pairs beyond this many start the composed cells afresh.
constexpr std::size_t kMaxColourPairs = 8;
}  // namespace

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
        dropComposed();
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

QImage CellPainter::compose(const QFont& font, const core::Bitmap& sheet, int sheetColumns, core::Cell tile,
                           Overlays overlays, QSize size, const QColor& text, const QColor& box) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(box);
    const QImage& image = sheetImage(sheet);
    const auto square = core::tileRect(tile, sheetColumns);
    if (!image.isNull() && square && square->right <= image.width() && square->bottom <= image.height()) {
        // Each sheet pixel becomes a block of pixels, as the painter's unsmoothed scaling makes it.
        for (int y = 0; y < size.height(); ++y) {
            const auto* from = reinterpret_cast<const QRgb*>(
                                   image.constScanLine(int(square->top) + y * core::kTileSize / size.height())) +
                               square->left;
            auto* to = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < size.width(); ++x) to[x] = from[x * core::kTileSize / size.width()];
        }
    }
    if (overlays.border && !size.isEmpty()) {
        const QRgb black = qRgb(0, 0, 0);
        for (int y = 0; y < size.height(); ++y) reinterpret_cast<QRgb*>(picture.scanLine(y))[size.width() - 1] = black;
        auto* bottom = reinterpret_cast<QRgb*>(picture.scanLine(size.height() - 1));
        std::fill(bottom + 1, bottom + size.width(), black);
    }
    if (overlays.number) numbers_.drawInto(picture, font, kTextOffset, tile, text, box, picture.rect());
    return picture;
}

void CellPainter::drawMapCell(QPainter& painter, const QFont& font, const core::Bitmap& sheet, int sheetColumns,
                              core::Cell tile, Overlays overlays, const QRect& cell) {
    sheetImage(sheet);  // a replaced sheet drops the composed cells
    if (sheetColumns != composedColumns_ || font != composedFont_) {
        dropComposed();
        composedColumns_ = sheetColumns;
        composedFont_ = font;
    }
    const QColor text = painter.pen().color();
    const QColor box = painter.brush().color();
    const std::uint64_t key = std::uint64_t(tile) | std::uint64_t(overlays.border) << 16 |
                              std::uint64_t(overlays.number) << 17 | colourPairIndex(text.rgba(), box.rgba()) << 18;
    auto found = composed_.find(key);
    if (found == composed_.end() || found->second.size() != cell.size()) {
        if (composed_.size() >= kMaxComposedCells) composed_.clear();
        found = composed_.insert_or_assign(key, compose(font, sheet, sheetColumns, tile, overlays, cell.size(), text, box))
                    .first;
    }
    painter.drawImage(cell.topLeft(), found->second);
}

std::uint64_t CellPainter::colourPairIndex(QRgb text, QRgb box) {
    const std::pair<QRgb, QRgb> pair{text, box};
    for (std::size_t i = 0; i < colourPairs_.size(); ++i)
        if (colourPairs_[i] == pair) return i;
    if (colourPairs_.size() >= kMaxColourPairs) dropComposed();
    colourPairs_.push_back(pair);
    return colourPairs_.size() - 1;
}

void CellPainter::sheetReplaced() {
    sheetPixels_ = nullptr;
    sheetWidth_ = sheetHeight_ = 0;
    sheet_ = QImage();
    dropComposed();
}

void CellPainter::dropComposed() {
    composed_.clear();
    colourPairs_.clear();
}

}  // namespace ui

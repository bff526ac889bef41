#include "ui/map_view/CellPainter.h"

#include <QPainter>
#include <algorithm>

#include "core/map/tile_geometry.h"

namespace ui {

namespace {
constexpr QPoint kTextOffset{1, 2};
// About a megabyte per thousand cells at 16 pixels a cell; a full view holds about
// eight thousand. Larger levels hold fewer, larger pictures: the bytes are the limit.
constexpr std::size_t kMaxComposedCells = 16384;
constexpr std::size_t kMaxComposedBytes = std::size_t{16} << 20;
// The tile pictures of a zoomed-out level: a full view needs at most about 8 MiB.
constexpr std::size_t kMaxLevelPixels = (std::size_t{16} << 20) / sizeof(QRgb);
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
        const std::size_t bytes = std::size_t(cell.width()) * std::size_t(cell.height()) * sizeof(QRgb);
        if (composed_.size() >= kMaxComposedCells || composedBytes_ + bytes > kMaxComposedBytes) {
            composed_.clear();
            composedBytes_ = 0;
        }
        composedBytes_ += bytes;
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

const QRgb* CellPainter::levelTile(const core::Bitmap& sheet, int sheetColumns, core::Cell tile, bool border) {
    const std::size_t slot = std::size_t(tile) * 2 + (border ? 1 : 0);
    if (levelSlots_[slot] < 0) {
        if (levelPool_.size() + std::size_t(levelSize_) * std::size_t(levelSize_) > kMaxLevelPixels) {
            std::fill(levelSlots_.begin(), levelSlots_.end(), -1);
            levelPool_.clear();
        }
        const QImage picture = compose(composedFont_, sheet, sheetColumns, tile, {border, false},
                                       QSize(levelSize_, levelSize_), QColor(), QColor::fromRgb(levelBox_));
        levelSlots_[slot] = std::int32_t(levelPool_.size());
        for (int y = 0; y < levelSize_; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
            levelPool_.insert(levelPool_.end(), line, line + levelSize_);
        }
    }
    return levelPool_.data() + levelSlots_[slot];
}

void CellPainter::drawArea(QPainter& painter, const QRect& target, const core::TileMap& map,
                           const core::Bitmap& sheet, int sheetColumns, int firstColumn, int firstRow, ZoomLevel level,
                           bool border) {
    if (target.isEmpty() || firstRow >= int(map.size()) || firstColumn >= int(map.columns())) return;
    const QRgb box = painter.brush().color().rgb();
    const int size = level.cells == 1 ? level.pixels : 1;
    border = border && size >= kBorderPixels;
    sheetImage(sheet);  // a replaced sheet drops the pictures
    if (levelSlots_.empty() || size != levelSize_ || box != levelBox_ || sheetColumns != levelColumns_) {
        levelSlots_.assign(std::size_t{65536} * 2, -1);
        levelPool_.clear();
        levelSize_ = size;
        levelBox_ = box;
        levelColumns_ = sheetColumns;
    }
    const int columns = std::min<long long>(int(map.columns()) - firstColumn,
                                            (std::int64_t(target.width()) * level.cells + level.pixels - 1) / level.pixels);
    const int rows = std::min<long long>(int(map.size()) - firstRow,
                                         (std::int64_t(target.height()) * level.cells + level.pixels - 1) / level.pixels);
    const int width = std::min(target.width(), (columns * level.pixels + level.cells - 1) / level.cells);
    const int height = std::min(target.height(), (rows * level.pixels + level.cells - 1) / level.cells);
    if (frame_.width() < width || frame_.height() < height)
        frame_ = QImage(std::max(width, frame_.width()), std::max(height, frame_.height()), QImage::Format_RGB32);
    // The hot loops look a tile's pixels up by index; only a tile not yet met at this
    // level takes the slow path, which may move the pool.
    const int variant = border ? 1 : 0;
    const auto pixelsOf = [&](core::Cell tile) {
        const std::int32_t slot = levelSlots_[std::size_t(tile) * 2 + variant];
        return slot >= 0 ? levelPool_.data() + slot : levelTile(sheet, sheetColumns, tile, border);
    };
    const auto stride = std::size_t(frame_.bytesPerLine() / 4);
    QRgb* const bits = reinterpret_cast<QRgb*>(frame_.bits());
    if (level.cells == 1 && size == 1) {
        for (int r = 0; r < rows; ++r) {
            const core::Cell* cells = map[std::size_t(firstRow + r)].data() + firstColumn;
            QRgb* line = bits + std::size_t(r) * stride;
            for (int c = 0; c < columns; ++c) line[c] = *pixelsOf(cells[c]);
        }
    } else if (level.cells == 1) {
        for (int r = 0; r < rows; ++r) {
            const core::Cell* cells = map[std::size_t(firstRow + r)].data() + firstColumn;
            const int top = r * size;
            const int lines = std::min(size, height - top);
            QRgb* const first = bits + std::size_t(top) * stride;
            for (int c = 0; c < columns; ++c) {
                const QRgb* tile = pixelsOf(cells[c]);
                const int left = c * size;
                const int span = std::min(size, width - left);
                for (int y = 0; y < lines; ++y)
                    std::copy(tile + y * size, tile + y * size + span, first + std::size_t(y) * stride + left);
            }
        }
    } else {
        const std::size_t step = std::size_t(level.cells);
        for (int y = 0; y < height; ++y) {
            const core::Cell* cells = map[std::size_t(firstRow) + std::size_t(y) * step].data() + firstColumn;
            QRgb* line = bits + std::size_t(y) * stride;
            for (int x = 0; x < width; ++x) line[x] = *pixelsOf(cells[std::size_t(x) * step]);
        }
    }
    painter.drawImage(target.topLeft(), frame_, QRect(0, 0, width, height));
}

void CellPainter::sheetReplaced() {
    levelSlots_.clear();
    sheetPixels_ = nullptr;
    sheetWidth_ = sheetHeight_ = 0;
    sheet_ = QImage();
    dropComposed();
}

void CellPainter::dropComposed() {
    composed_.clear();
    composedBytes_ = 0;
    colourPairs_.clear();
    levelSlots_.clear();
}

}  // namespace ui

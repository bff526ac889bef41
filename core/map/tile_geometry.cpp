#include "core/map/tile_geometry.h"

#include "core/map/wrapping_arithmetic.h"

namespace core {

std::int32_t sheetTileCount(std::int32_t viewWidth, std::int32_t viewHeight) {
    return wrappedProduct(viewWidth / kTileSize, viewHeight / kTileSize);
}

std::int32_t tileAt(std::int32_t x, std::int32_t y, std::int32_t sheetColumns) {
    return wrapped(x / kTileSize + std::int64_t{y / kTileSize} * sheetColumns);
}

std::optional<PixelRect> blockFrame(std::int32_t selectedTile, std::int32_t sheetColumns, std::int32_t blockWidth,
                                    std::int32_t blockHeight) {
    auto frame = tileRect(selectedTile, sheetColumns);
    if (frame) {
        frame->right = frame->left + std::int64_t{blockWidth} * kTileSize;
        frame->bottom = frame->top + std::int64_t{blockHeight} * kTileSize;
    }
    return frame;
}

}  // namespace core

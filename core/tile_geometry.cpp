#include "core/tile_geometry.h"

namespace core {
namespace {

std::int32_t wrapped(std::int64_t value) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(value)); }

}  // namespace

std::int32_t sheetTileCount(std::int32_t viewWidth, std::int32_t viewHeight) {
    return wrapped(std::int64_t{viewWidth / kTileSize} * (viewHeight / kTileSize));
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

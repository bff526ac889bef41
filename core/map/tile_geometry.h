#pragma once
// How a sheet is cut into tiles: 8 x 8 pixels, numbered row by row from 0, with
// division and remainder truncating toward zero (a negative tile lies left of the
// sheet). Nothing clamps a tile number to the sheet.
#include <cstdint>
#include <optional>

namespace core {

inline constexpr std::int32_t kTileSize = 8;

// Sheet pixels, right and bottom exclusive. 64-bit, so that any tile number and
// block size give the true rectangle instead of an overflowed one.
struct PixelRect {
    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t right = 0;
    std::int64_t bottom = 0;
};

// Whole tiles across a sheet (SheetColumns): a last partial column belongs to no tile.
inline std::int32_t sheetColumnsOf(std::int32_t sheetWidth) { return sheetWidth / kTileSize; }

// Tiles the sheet view holds, the limit of a stamp: (width div 8) x (height div 8).
// The view measures 1 x 1 before any sheet is loaded, which gives 0.
std::int32_t sheetTileCount(std::int32_t viewWidth, std::int32_t viewHeight);

// The tile under sheet pixel (x, y): (x div 8) + (y div 8) x SheetColumns, wrapping
// like the editor's 32-bit arithmetic.
std::int32_t tileAt(std::int32_t x, std::int32_t y, std::int32_t sheetColumns);

// The square of tile `tile` on the sheet; nothing for a sheet without a whole column.
// Inline: the map view asks it for every cell it paints.
inline std::optional<PixelRect> tileRect(std::int32_t tile, std::int32_t sheetColumns) {
    if (sheetColumns <= 0) return std::nullopt;
    const std::int64_t left = std::int64_t{tile % sheetColumns} * kTileSize;
    const std::int64_t top = std::int64_t{tile / sheetColumns} * kTileSize;
    return PixelRect{left, top, left + kTileSize, top + kTileSize};
}

// The frame of the brush block whose top-left tile is `selectedTile`, `blockWidth` x
// `blockHeight` tiles as typed (an empty or inverted rectangle for sizes below 1);
// nothing when the sheet has no whole column.
std::optional<PixelRect> blockFrame(std::int32_t selectedTile, std::int32_t sheetColumns, std::int32_t blockWidth,
                                    std::int32_t blockHeight);

}  // namespace core

#pragma once
// The brush-block frame on the sheet: where it lies and how it is drawn.
#include <QImage>
#include <cstdint>
#include <optional>

namespace ui {

// Sheet pixels, right and bottom exclusive. 64-bit, so that any tile number and
// block size give the true rectangle instead of an overflowed one.
struct FrameRect {
    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t right = 0;
    std::int64_t bottom = 0;
};

// The rectangle of the block whose top-left tile is `selectedTile`; nothing when the
// sheet has no whole column (no row or column can be worked out).
std::optional<FrameRect> blockFrame(std::int32_t selectedTile, std::int32_t sheetColumns,
                                    std::int32_t blockWidth, std::int32_t blockHeight);

// One-pixel black lines along the inside of the rectangle, clipped at the picture's
// edges; nothing for an empty or inverted rectangle.
void drawFrame(QImage& picture, const FrameRect& frame);

}  // namespace ui

#pragma once
// Drawing the brush-block frame on the displayed copy of the sheet.
#include <QImage>

#include "core/map/tile_geometry.h"

namespace ui {

// One-pixel black lines along the inside of the rectangle, clipped at the picture's
// edges; nothing for an empty or inverted rectangle.
void drawFrame(QImage& picture, const core::PixelRect& frame);

}  // namespace ui

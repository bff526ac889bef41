#pragma once
// 8-bit and 4-bit run-length coded BMP pixels (compression 1 and 2).
#include <cstdint>
#include <string_view>

#include "core/bmp/bmp_layout.h"
#include "core/bmp/bmp_palette.h"

namespace core::bmp {

// Decodes the codes in `data` into `pixels` (width × height values, rows from the
// top; coded rows run bottom-up). Pixels the codes never reach keep the value
// they had. Runs that pass the end of a row or of the image are cut there, and
// decoding stops at the end-of-bitmap code, at the end of the data or above the
// top row.
void decodeRunLength(std::string_view data, const BmpLayout& layout, const Palette& palette,
                     std::uint32_t* pixels);

}  // namespace core::bmp

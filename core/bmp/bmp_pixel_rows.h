#pragma once
// Uncompressed and bit-field pixel rows of a BMP file.
#include <cstdint>
#include <string_view>

#include "core/bmp/bmp_layout.h"
#include "core/bmp/bmp_palette.h"

namespace core::bmp {

// Bytes per stored row: rows are padded to whole 32-bit words.
std::uint64_t rowStride(std::int32_t width, std::uint16_t bitsPerPixel);

// Decodes `data` (the pixel bytes the file holds, possibly fewer than the image
// needs: the missing ones count as zero) into `pixels`, which has room for
// width × height values, rows from the top.
void decodeUncompressed(std::string_view data, const BmpLayout& layout, const Palette& palette,
                        std::uint32_t* pixels);

}  // namespace core::bmp

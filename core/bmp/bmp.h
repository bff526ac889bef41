#pragma once
// Decoding of BMP tile sheets into plain pixels, without Qt.
#include <cstdint>
#include <string_view>
#include <vector>

namespace core {

// One 0xFFRRGGBB value per pixel, row by row from the top.
struct Bitmap {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint32_t> pixels;

    bool empty() const noexcept { return width <= 0 || height <= 0; }
};

// Decodes the bytes of a BMP file. A 0-byte file is an empty sheet. Raises
// StreamReadFailure, InvalidBitmapFailure or OutOfMemoryFailure.
Bitmap decodeBmp(std::string_view bytes);

}  // namespace core

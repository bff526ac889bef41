#pragma once
// Sheets the sheet file tests read, and how two decoded sheets are compared.
#include <cstdint>
#include <string>

#include "core/bmp/bmp.h"
#include "support/bmp_file_builder.h"

namespace testsupport {

// A 24-bit sheet whose pixels differ, large enough that its pixels lie past the head.
inline std::string largeSheet(std::uint32_t imageSize = 0) {
    BmpFields fields;
    fields.width = 300;
    fields.height = 100;
    fields.imageSize = imageSize;
    for (int i = 0; i < 300 * 100; ++i) testsupport::putLittleEndian(fields.pixels, 0x10203u * i, 3);
    return testsupport::buildBmp(fields);
}

// An 8-bit run-length sheet of `width` × 1 pixels in a few bytes: one run of colour 1.
inline std::string runLengthRow(std::int32_t width) {
    BmpFields fields;
    fields.width = width;
    fields.bitsPerPixel = 8;
    fields.compression = 1;
    fields.palette = {0x000000, 0xFF0000};
    fields.coloursUsed = 2;
    fields.pixels = std::string("\x10\x01\x00\x01", 4);
    return testsupport::buildBmp(fields);
}

inline bool samePixels(const core::Bitmap& a, const core::Bitmap& b) {
    return a.width == b.width && a.height == b.height && a.pixels == b.pixels;
}

}  // namespace testsupport

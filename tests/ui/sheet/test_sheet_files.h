#pragma once
// Tile-sheet test files: small BMPs with known pixels, written into a temporary folder.
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>

#include "support/bmp_file_builder.h"
#include "support/qt_files.h"

namespace sheettest {

// Never black (blue is always 0x40), so a frame pixel stands out; differs per pixel.
inline std::uint32_t sheetColour(int x, int y) {
    return 0xFF000000u | (static_cast<std::uint32_t>(x & 0xFF) << 16) |
           (static_cast<std::uint32_t>(y & 0xFF) << 8) | 0x40u;
}

// A 24-bit bottom-up BMP with a 40-byte header whose pixels are sheetColour().
inline QByteArray bmp24(int width, int height) {
    testsupport::BmpFields fields;
    fields.width = width;
    fields.height = height;
    const std::size_t stride = static_cast<std::size_t>((width * 24 + 31) / 32) * 4;
    for (int row = height - 1; row >= 0; --row) {
        const std::size_t start = fields.pixels.size();
        for (int x = 0; x < width; ++x) testsupport::putLittleEndian(fields.pixels, sheetColour(x, row) & 0xFFFFFF, 3);
        fields.pixels.resize(start + stride, '\0');
    }
    return QByteArray::fromStdString(testsupport::buildBmp(fields));
}

// The start of an icon file: reserved 0, type 1, one image.
inline QByteArray iconFile() { return QByteArray("\0\0\1\0\1\0", 6) + QByteArray(16 + 40, '\x10'); }

using testsupport::writeFile;

}  // namespace sheettest

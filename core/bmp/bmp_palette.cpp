#include "core/bmp/bmp_palette.h"

#include "core/bmp/bmp_bytes.h"

namespace core::bmp {

Palette readPalette(std::string_view bytes, const BmpLayout& layout) {
    Palette palette;
    palette.fill(kOpaqueBlack);
    for (std::size_t i = 0; i < layout.paletteEntries; ++i) {
        const std::size_t at = layout.paletteOffset + i * layout.paletteEntrySize;
        const std::uint32_t blue = byteAt(bytes, at);
        const std::uint32_t green = byteAt(bytes, at + 1);
        const std::uint32_t red = byteAt(bytes, at + 2);
        palette[i] = kOpaqueBlack | (red << 16) | (green << 8) | blue;
    }
    return palette;
}

}  // namespace core::bmp

#pragma once
// Where each piece of a BMP file lies and what its headers say, checked against
// the file's own length so that nothing later reads outside it.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace core::bmp {

inline constexpr std::uint32_t kUncompressed = 0;
inline constexpr std::uint32_t kRunLength8 = 1;
inline constexpr std::uint32_t kRunLength4 = 2;
inline constexpr std::uint32_t kBitFields = 3;

struct ColourMasks {
    std::uint32_t red = 0;
    std::uint32_t green = 0;
    std::uint32_t blue = 0;
};

struct BmpLayout {
    std::int32_t width = 0;
    std::int32_t height = 0;  // absolute value
    bool topDown = false;
    std::uint16_t bitsPerPixel = 0;
    std::uint32_t compression = kUncompressed;
    std::uint32_t imageSize = 0;
    ColourMasks masks;  // used at 16 and 32 bits per pixel
    std::size_t paletteOffset = 0;
    std::size_t paletteEntrySize = 0;  // 3 for the core header, else 4
    std::size_t paletteEntries = 0;    // at most 256
    std::size_t pixelOffset = 0;       // inside the file, or at its end
};

// The longest info header taken for one; a longer claim is no BMP header.
inline constexpr std::size_t kMaxInfoHeaderSize = 64 * 1024;
// The most of a file's start that its headers, masks and colour table can fill.
inline constexpr std::size_t kBmpHeadBytes = 14 + kMaxInfoHeaderSize + 12 + 256 * 4;

// Reads the file and info headers, the masks and the place of the colour table and
// of the pixels. Raises StreamReadFailure when the file ends inside the headers,
// the masks or the colour table, and InvalidBitmapFailure for data it does not
// decode. The bytes must not be empty.
BmpLayout readBmpLayout(std::string_view bytes);
// The same for a file of `fileLength` bytes of which `head` holds the first ones:
// the whole file, or at least its first kBmpHeadBytes.
BmpLayout readBmpLayout(std::string_view head, std::uint64_t fileLength);

}  // namespace core::bmp

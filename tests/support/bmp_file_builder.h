#pragma once
// Test helper: BMP files put together field by field, so that each test states
// only what it is about.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

struct BmpFields {
    std::string magic = "BM";
    std::uint32_t headerSize = 40;  // 12 writes the core header
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t planes = 1;
    std::uint16_t bitsPerPixel = 24;
    std::uint32_t compression = 0;
    std::uint32_t imageSize = 0;
    std::uint32_t coloursUsed = 0;
    // Red, green, blue: inside the header from 52 bytes on, after it otherwise.
    std::optional<std::vector<std::uint32_t>> masks;
    std::vector<std::uint32_t> palette;  // 0xRRGGBB
    std::string gap;                     // bytes between the colour table and the pixels
    std::optional<std::uint32_t> pixelOffset;  // default: where the pixels start
    std::string pixels;
};

inline void putLittleEndian(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

inline std::string infoHeader(const BmpFields& f) {
    std::string header;
    putLittleEndian(header, f.headerSize, 4);
    if (f.headerSize == 12) {
        putLittleEndian(header, static_cast<std::uint16_t>(f.width), 2);
        putLittleEndian(header, static_cast<std::uint16_t>(f.height), 2);
        putLittleEndian(header, f.planes, 2);
        putLittleEndian(header, f.bitsPerPixel, 2);
        return header;
    }
    putLittleEndian(header, static_cast<std::uint32_t>(f.width), 4);
    putLittleEndian(header, static_cast<std::uint32_t>(f.height), 4);
    putLittleEndian(header, f.planes, 2);
    putLittleEndian(header, f.bitsPerPixel, 2);
    putLittleEndian(header, f.compression, 4);
    putLittleEndian(header, f.imageSize, 4);
    putLittleEndian(header, 2835, 4);
    putLittleEndian(header, 2835, 4);
    putLittleEndian(header, f.coloursUsed, 4);
    putLittleEndian(header, 0, 4);
    if (f.masks && f.headerSize >= 52)
        for (const std::uint32_t mask : *f.masks) putLittleEndian(header, mask, 4);
    header.resize(f.headerSize, '\0');
    return header;
}

inline std::string buildBmp(const BmpFields& f) {
    std::string body = infoHeader(f);
    if (f.masks && f.headerSize < 52)
        for (const std::uint32_t mask : *f.masks) putLittleEndian(body, mask, 4);
    for (const std::uint32_t colour : f.palette) {
        putLittleEndian(body, colour & 0xFF, 1);
        putLittleEndian(body, (colour >> 8) & 0xFF, 1);
        putLittleEndian(body, (colour >> 16) & 0xFF, 1);
        if (f.headerSize != 12) body += '\0';
    }
    body += f.gap;
    const std::uint32_t offset = f.pixelOffset.value_or(static_cast<std::uint32_t>(14 + body.size()));
    std::string file = f.magic;
    putLittleEndian(file, 14 + body.size() + f.pixels.size(), 4);
    putLittleEndian(file, 0, 4);
    putLittleEndian(file, offset, 4);
    return file + body + f.pixels;
}

// Bytes written out one by one, for pixel rows.
inline std::string bytesOf(std::initializer_list<int> values) {
    std::string out;
    for (const int value : values) out += static_cast<char>(value);
    return out;
}

}  // namespace testsupport

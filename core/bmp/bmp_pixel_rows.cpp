#include "core/bmp/bmp_pixel_rows.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/bmp/bmp_bit_fields.h"

namespace core::bmp {
namespace {

using Byte = unsigned char;

class RowDecoder {
public:
    RowDecoder(const BmpLayout& layout, const Palette& palette)
        : width_(static_cast<std::size_t>(layout.width)),
          bitsPerPixel_(layout.bitsPerPixel),
          plainRgb32_(layout.masks.red == 0x00FF0000 && layout.masks.green == 0x0000FF00 &&
                      layout.masks.blue == 0x000000FF),
          palette_(palette),
          masked_(layout.masks) {}

    void decode(const Byte* row, std::uint32_t* out) const {
        switch (bitsPerPixel_) {
            case 1: indexed1(row, out); break;
            case 4: indexed4(row, out); break;
            case 8: indexed8(row, out); break;
            case 16: masked16(row, out); break;
            case 24: rgb24(row, out); break;
            default: plainRgb32_ ? rgb32(row, out) : masked32(row, out); break;
        }
    }

private:
    void indexed1(const Byte* row, std::uint32_t* out) const {
        for (std::size_t x = 0; x < width_; ++x) out[x] = palette_[(row[x >> 3] >> (7 - (x & 7))) & 1];
    }
    void indexed4(const Byte* row, std::uint32_t* out) const {
        for (std::size_t x = 0; x < width_; ++x) out[x] = palette_[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F];
    }
    void indexed8(const Byte* row, std::uint32_t* out) const {
        for (std::size_t x = 0; x < width_; ++x) out[x] = palette_[row[x]];
    }
    void masked16(const Byte* row, std::uint32_t* out) const {
        for (std::size_t x = 0; x < width_; ++x) {
            const std::uint32_t pixel = row[2 * x] | (std::uint32_t{row[2 * x + 1]} << 8);
            out[x] = masked_.argb(pixel);
        }
    }
    void rgb24(const Byte* row, std::uint32_t* out) const {
        for (std::size_t x = 0; x < width_; ++x, row += 3)
            out[x] = 0xFF000000u | (std::uint32_t{row[2]} << 16) | (std::uint32_t{row[1]} << 8) | row[0];
    }
    void rgb32(const Byte* row, std::uint32_t* out) const {
        for (std::size_t x = 0; x < width_; ++x, row += 4)
            out[x] = 0xFF000000u | (std::uint32_t{row[2]} << 16) | (std::uint32_t{row[1]} << 8) | row[0];
    }
    void masked32(const Byte* row, std::uint32_t* out) const {
        for (std::size_t x = 0; x < width_; ++x, row += 4) {
            const std::uint32_t pixel = row[0] | (std::uint32_t{row[1]} << 8) | (std::uint32_t{row[2]} << 16) |
                                        (std::uint32_t{row[3]} << 24);
            out[x] = masked_.argb(pixel);
        }
    }

    std::size_t width_;
    std::uint16_t bitsPerPixel_;
    bool plainRgb32_;
    const Palette& palette_;
    MaskedColour masked_;
};

}  // namespace

std::uint64_t rowStride(std::int32_t width, std::uint16_t bitsPerPixel) {
    return (static_cast<std::uint64_t>(width) * bitsPerPixel + 31) / 32 * 4;
}

void decodeUncompressed(std::string_view data, const BmpLayout& layout, const Palette& palette,
                        std::uint32_t* pixels) {
    const RowDecoder decoder(layout, palette);
    const std::size_t stride = static_cast<std::size_t>(rowStride(layout.width, layout.bitsPerPixel));
    const std::size_t width = static_cast<std::size_t>(layout.width);
    const std::size_t height = static_cast<std::size_t>(layout.height);
    const auto* bytes = reinterpret_cast<const Byte*>(data.data());
    // Rows the file holds only in part are completed with zero bytes here.
    std::vector<Byte> partialRow;
    const std::uint32_t* missingRow = nullptr;  // the first row the file holds nothing of
    for (std::size_t fileRow = 0; fileRow < height; ++fileRow) {
        const std::size_t topRow = layout.topDown ? fileRow : height - 1 - fileRow;
        std::uint32_t* out = pixels + topRow * width;
        const std::size_t start = fileRow * stride;
        if (start <= data.size() && data.size() - start >= stride) {
            decoder.decode(bytes + start, out);
        } else if (missingRow != nullptr) {
            std::memcpy(out, missingRow, width * sizeof(std::uint32_t));
        } else {
            partialRow.assign(stride, 0);
            if (start < data.size()) std::memcpy(partialRow.data(), bytes + start, data.size() - start);
            else missingRow = out;
            decoder.decode(partialRow.data(), out);
        }
    }
}

}  // namespace core::bmp

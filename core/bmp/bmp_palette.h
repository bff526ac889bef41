#pragma once
// The colour table of a BMP file as opaque 0xFFRRGGBB values.
#include <array>
#include <cstdint>
#include <string_view>

#include "core/bmp/bmp_layout.h"

namespace core::bmp {

inline constexpr std::uint32_t kOpaqueBlack = 0xFF000000u;

// Always 256 entries: those the file lacks are black, so any 8-bit index is safe.
using Palette = std::array<std::uint32_t, 256>;

// The layout has already checked that the table lies inside the bytes.
Palette readPalette(std::string_view bytes, const BmpLayout& layout);

}  // namespace core::bmp

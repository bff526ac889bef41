#pragma once
// Colour channels given by bit masks (16- and 32-bit pixels), scaled to 8 bits.
#include <cstdint>
#include <vector>

#include "core/bmp/bmp_layout.h"

namespace core::bmp {

class MaskChannel {
public:
    explicit MaskChannel(std::uint32_t mask);
    // The channel of `pixel` as 0..255, rounded to the nearest level; an empty
    // mask gives 0.
    std::uint32_t level(std::uint32_t pixel) const {
        const std::uint32_t raw = (pixel & mask_) >> shift_;
        return levels_.empty() ? scaled(raw) : levels_[raw];
    }

private:
    std::uint32_t scaled(std::uint32_t raw) const;

    std::uint32_t mask_;
    std::uint32_t shift_ = 0;
    std::uint32_t maxRaw_ = 0;
    // Every level precomputed for channels up to 16 bits wide.
    std::vector<std::uint8_t> levels_;
};

class MaskedColour {
public:
    explicit MaskedColour(const ColourMasks& masks) : red_(masks.red), green_(masks.green), blue_(masks.blue) {}
    std::uint32_t argb(std::uint32_t pixel) const {
        return 0xFF000000u | (red_.level(pixel) << 16) | (green_.level(pixel) << 8) | blue_.level(pixel);
    }

private:
    MaskChannel red_;
    MaskChannel green_;
    MaskChannel blue_;
};

}  // namespace core::bmp

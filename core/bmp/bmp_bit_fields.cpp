#include "core/bmp/bmp_bit_fields.h"

#include <bit>

namespace core::bmp {
namespace {

constexpr std::uint32_t kMaxTabulated = 0xFFFF;

}  // namespace

MaskChannel::MaskChannel(std::uint32_t mask) : mask_(mask) {
    if (mask == 0) return;
    shift_ = static_cast<std::uint32_t>(std::countr_zero(mask));
    maxRaw_ = mask >> shift_;
    if (maxRaw_ > kMaxTabulated) return;
    levels_.resize(maxRaw_ + 1);
    for (std::uint32_t raw = 0; raw <= maxRaw_; ++raw) levels_[raw] = static_cast<std::uint8_t>(scaled(raw));
}

// Every channel width maps its full range onto 0..255, to the nearest level.
std::uint32_t MaskChannel::scaled(std::uint32_t raw) const {
    if (maxRaw_ == 0) return 0;
    return static_cast<std::uint32_t>((std::uint64_t{raw} * 255 + maxRaw_ / 2) / maxRaw_);
}

}  // namespace core::bmp

#pragma once
// The editor's integers are signed 32-bit, and its sums and products wrap as the
// machine's do instead of overflowing.
#include <cstdint>

namespace core {

inline std::int32_t wrapped(std::int64_t value) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(value)); }

inline std::int32_t wrappedProduct(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

}  // namespace core

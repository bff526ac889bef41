#pragma once
// The one conversion from text to a signed 32-bit integer: leading spaces, then a
// signed decimal or a "$", "x", "X", "0x", "0X" hexadecimal, and nothing after.
#include <cstdint>
#include <optional>
#include <string_view>

namespace core {

// Nothing when the text is not an integer.
std::optional<std::int32_t> tryParseInteger(std::string_view text);
// Raises ConversionFailure quoting the text.
std::int32_t toInteger(std::string_view text);

}  // namespace core

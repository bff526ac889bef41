#pragma once
// Little-endian reads from BMP bytes. Callers check the bounds first.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace core::bmp {

inline std::uint8_t byteAt(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint8_t>(bytes[at]);
}

inline std::uint16_t readU16(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>(byteAt(bytes, at) | (byteAt(bytes, at + 1) << 8));
}

inline std::uint32_t readU32(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint32_t>(byteAt(bytes, at)) | (static_cast<std::uint32_t>(byteAt(bytes, at + 1)) << 8) |
           (static_cast<std::uint32_t>(byteAt(bytes, at + 2)) << 16) |
           (static_cast<std::uint32_t>(byteAt(bytes, at + 3)) << 24);
}

inline std::int32_t readI32(std::string_view bytes, std::size_t at) {
    return static_cast<std::int32_t>(readU32(bytes, at));
}

}  // namespace core::bmp

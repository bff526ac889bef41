#pragma once
// Code page 932, the encoding of every text the editor keeps, and the one
// conversion between it and other encodings (the system's own, in the platform layer).
#include <optional>
#include <string>
#include <string_view>

namespace core {

// iconv's name for code page 932: unlike "SHIFT_JIS" it keeps 0x5C a backslash,
// which every Windows path holds.
inline constexpr char kCodePage932[] = "WINDOWS-31J";

// The first byte of a double-byte character.
bool isLeadByte(unsigned char byte);

struct Converted {
    std::string text;
    bool exact = true;  // false when some character was replaced
};

// How much of the input one character that cannot be converted takes with it.
enum class Skip { Byte, Cp932Character, Utf8Sequence };

// The bytes at the start of `rest` that `skip` takes (never more than are left).
std::size_t skippedBytes(std::string_view rest, Skip skip);

// Converts `text` from the encoding `from` to `to` (iconv's names). A character the
// target cannot hold, or input that is no character of the source, becomes
// `replacement`. Nothing when iconv knows no such conversion.
std::optional<Converted> convertText(std::string_view text, const char* to, const char* from,
                                     std::string_view replacement, Skip skip);

// Code page 932 to UTF-8; a byte that is no character shows as U+FFFD.
Converted cp932ToUtf8(std::string_view bytes);
// UTF-8 to code page 932; a character the code page lacks becomes '?'.
Converted utf8ToCp932(std::string_view text);

}  // namespace core

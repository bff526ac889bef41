#include "core/text/code_page.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <optional>

namespace core {
namespace {

std::string upper(const char* name) {
    std::string text(name);
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

// The encodings the editor converts between, by the names iconv gives them.
std::optional<UINT> codePageNamed(const char* name) {
    const std::string known = upper(name);
    if (known == kCodePage932 || known == "CP932") return 932;
    if (known == "UTF-8" || known == "UTF8") return CP_UTF8;
    return std::nullopt;
}

// Strictly: bytes that are no character of the source fail instead of becoming a
// default character.
std::optional<std::wstring> toWide(UINT codePage, std::string_view text) {
    if (text.empty()) return std::wstring();
    const int size = static_cast<int>(text.size());
    const int length = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (length <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), length);
    return wide;
}

// Strictly: a character the target lacks fails instead of becoming a look-alike.
std::optional<std::string> fromWide(UINT codePage, std::wstring_view wide) {
    if (wide.empty()) return std::string();
    const int size = static_cast<int>(wide.size());
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL defaulted = FALSE;
    BOOL* usedDefault = utf8 ? nullptr : &defaulted;
    const int length = ::WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, usedDefault);
    if (length <= 0 || defaulted) return std::nullopt;
    std::string text(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(codePage, flags, wide.data(), size, text.data(), length, nullptr, usedDefault);
    return text;
}

std::optional<std::string> convertStrictly(std::string_view text, UINT to, UINT from) {
    const auto wide = toWide(from, text);
    if (!wide) return std::nullopt;
    return fromWide(to, *wide);
}

// The bytes of the source's next character, to convert on its own.
std::size_t characterLength(std::string_view rest, UINT codePage) {
    const auto lead = static_cast<unsigned char>(rest.front());
    std::size_t length = 1;
    if (codePage == 932 && isLeadByte(lead)) length = 2;
    if (codePage == CP_UTF8) length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return std::min(length, rest.size());
}

// The whole text at once when every character converts; otherwise one character at
// a time, each that fails giving `replacement` and taking `skip`'s share of input.
Converted convert(std::string_view text, UINT to, UINT from, std::string_view replacement, Skip skip) {
    if (auto whole = convertStrictly(text, to, from)) return {std::move(*whole), true};
    Converted out;
    out.exact = false;
    while (!text.empty()) {
        const std::size_t length = characterLength(text, from);
        if (const auto one = convertStrictly(text.substr(0, length), to, from)) {
            out.text += *one;
            text.remove_prefix(length);
        } else {
            out.text.append(replacement);
            text.remove_prefix(skippedBytes(text, skip));
        }
    }
    return out;
}

}  // namespace

std::optional<Converted> convertText(std::string_view text, const char* to, const char* from,
                                     std::string_view replacement, Skip skip) {
    const auto target = codePageNamed(to);
    const auto source = codePageNamed(from);
    if (!target || !source) return std::nullopt;
    return convert(text, *target, *source, replacement, skip);
}

}  // namespace core

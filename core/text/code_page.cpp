#include "core/text/code_page.h"

#include <stdexcept>

namespace core {
namespace {

Converted convertOrRaise(std::string_view text, const char* to, const char* from, std::string_view replacement,
                         Skip skip) {
    auto converted = convertText(text, to, from, replacement, skip);
    if (!converted) throw std::runtime_error(std::string("no conversion from ") + from + " to " + to);
    return std::move(*converted);
}

}  // namespace

bool isLeadByte(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

std::size_t skippedBytes(std::string_view rest, Skip skip) {
    if (rest.empty()) return 0;
    const auto lead = static_cast<unsigned char>(rest.front());
    std::size_t length = 1;
    switch (skip) {
        case Skip::Cp932Character: length = isLeadByte(lead) ? 2 : 1; break;
        case Skip::Utf8Sequence: length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1; break;
        case Skip::Byte: break;
    }
    return length < rest.size() ? length : rest.size();
}

Converted cp932ToUtf8(std::string_view bytes) {
    return convertOrRaise(bytes, "UTF-8", kCodePage932, "\xEF\xBF\xBD", Skip::Byte);
}

Converted utf8ToCp932(std::string_view text) {
    return convertOrRaise(text, kCodePage932, "UTF-8", "?", Skip::Utf8Sequence);
}

}  // namespace core

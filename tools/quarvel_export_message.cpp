#include "tools/quarvel_export_message.h"

#include <cstdio>

#include "core/text/code_page.h"
#include "core/text/failures.h"
#include "tools/quarvel_export_encoding.h"

namespace quarvel_export {
namespace {

constexpr std::size_t kMaxQuotedCharacters = 200;
constexpr char kEllipsis932[] = "\x81\x63";  // "…"

bool isTrailByte(unsigned char byte) { return byte >= 0x40 && byte <= 0xFC && byte != 0x7F; }
bool isControlByte(unsigned char byte) { return byte < 0x20 || byte == 0x7F; }

// The length of the code-page-932 character at the start of `text`: 2 for a lead
// byte with its trail byte, else 1.
std::size_t characterLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    return core::isLeadByte(lead) && text.size() > 1 && isTrailByte(static_cast<unsigned char>(text[1])) ? 2 : 1;
}

std::string quoted(std::string_view text) {
    std::size_t at = 0;
    for (std::size_t count = 0; at < text.size() && count < kMaxQuotedCharacters; ++count) at += characterLength(text.substr(at));
    if (at >= text.size()) return std::string(text);
    return std::string(text.substr(0, at)) + kEllipsis932;
}

void appendEscaped(std::string& out, unsigned char byte) {
    char escaped[5];
    std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
    out += escaped;
}

// Printable ASCII, double-byte characters and half-width katakana stay; every other
// byte is shown as \xNN.
std::string escaped932(std::string_view text) {
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        const std::size_t length = characterLength(text.substr(at));
        if (length == 2 || (byte >= 0x20 && byte < 0x7F) || (byte >= 0xA1 && byte <= 0xDF)) {
            out.append(text.substr(at, length));
        } else {
            appendEscaped(out, byte);
        }
        at += length;
    }
    return out;
}

// A path is in the terminal's own encoding; only its control bytes are escaped.
std::string escapedPath(const std::string& path) {
    std::string out;
    for (const char c : path) {
        if (isControlByte(static_cast<unsigned char>(c))) {
            appendEscaped(out, static_cast<unsigned char>(c));
        } else {
            out += c;
        }
    }
    return out;
}

std::string message932(const std::exception& failure) {
    if (const auto* conversion = dynamic_cast<const core::ConversionFailure*>(&failure))
        return core::textToShow(core::ConversionFailure(quoted(conversion->text())));
    return core::failureText(failure);
}

}  // namespace

std::string failureLine(const std::string& file, const std::exception& failure, const std::string& codeset) {
    return "quarvel-export: " + escapedPath(file) + ": " + fromCodePage932(escaped932(message932(failure)), codeset) + "\n";
}

}  // namespace quarvel_export

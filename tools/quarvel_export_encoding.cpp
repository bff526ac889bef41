#include "tools/quarvel_export_encoding.h"

#include "core/text/code_page.h"

namespace quarvel_export {
namespace {

constexpr char kAsciiCodeset[] = "ANSI_X3.4-1968";

// The plain C locale names ASCII while the terminal itself almost always takes
// UTF-8, a superset of it: question marks would hide every Japanese message, and a
// Japanese label could not be given at all.
std::string terminalEncoding(const std::string& codeset) { return codeset == kAsciiCodeset ? "UTF-8" : codeset; }

}  // namespace

std::string toCodePage932(std::string_view text, const std::string& codeset) {
    const std::string source = terminalEncoding(codeset);
    const auto converted = core::convertText(text, core::kCodePage932, source.c_str(), "?", core::Skip::Byte);
    if (!converted) throw EncodingError("no conversion from " + source + " to code page 932");
    if (!converted->exact) throw EncodingError("the text cannot be converted from " + source + " to code page 932");
    return converted->text;
}

std::string fromCodePage932(std::string_view bytes, const std::string& codeset) {
    const std::string target = terminalEncoding(codeset);
    const auto converted = core::convertText(bytes, target.c_str(), core::kCodePage932, "?", core::Skip::Cp932Character);
    if (!converted) return std::string(bytes);
    return converted->text;
}

}  // namespace quarvel_export

#include "tools/quarvel_export_encoding.h"

#include <iconv.h>
#include <langinfo.h>

#include <cerrno>

namespace quarvel_export {
namespace {

constexpr char kCodePage932[] = "WINDOWS-31J";
constexpr char kAsciiCodeset[] = "ANSI_X3.4-1968";

bool isLeadByte(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

class Converter {
public:
    Converter(const std::string& to, const std::string& from) : handle_(::iconv_open(to.c_str(), from.c_str())) {}
    ~Converter() {
        if (opened()) ::iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool opened() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as it can; gives errno of the stop (0 when all went through)
    // and leaves `in` at the first byte not converted.
    int convert(std::string_view& in, std::string& out) {
        char* source = const_cast<char*>(in.data());
        std::size_t sourceLeft = in.size();
        int error = 0;
        for (;;) {
            const std::size_t start = out.size();
            out.resize(start + sourceLeft * 4 + 16);
            char* target = out.data() + start;
            std::size_t targetLeft = out.size() - start;
            const std::size_t result = ::iconv(handle_, &source, &sourceLeft, &target, &targetLeft);
            error = result == static_cast<std::size_t>(-1) ? errno : 0;
            out.resize(out.size() - targetLeft);
            if (error != E2BIG) break;
        }
        in = std::string_view(source, sourceLeft);
        return error;
    }

private:
    iconv_t handle_;
};

}  // namespace

std::string terminalCodeset() { return ::nl_langinfo(CODESET); }

std::string toCodePage932(std::string_view text, const std::string& codeset) {
    Converter converter(kCodePage932, codeset);
    if (!converter.opened()) throw EncodingError("no conversion from " + codeset + " to code page 932");
    std::string out;
    if (converter.convert(text, out) != 0)
        throw EncodingError("the text cannot be converted from " + codeset + " to code page 932");
    return out;
}

std::string fromCodePage932(std::string_view bytes, const std::string& codeset) {
    // The plain C locale names ASCII while the terminal itself almost always takes
    // UTF-8, a superset of it; question marks would hide every Japanese message.
    Converter converter(codeset == kAsciiCodeset ? "UTF-8" : codeset, kCodePage932);
    if (!converter.opened()) return std::string(bytes);
    std::string out;
    while (converter.convert(bytes, out) != 0 && !bytes.empty()) {
        const bool doubleByte = isLeadByte(static_cast<unsigned char>(bytes.front())) && bytes.size() > 1;
        bytes.remove_prefix(doubleByte ? 2 : 1);
        out += '?';
    }
    return out;
}

}  // namespace quarvel_export

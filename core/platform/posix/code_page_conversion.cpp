#include "core/text/code_page.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace core {
namespace {

// One descriptor per conversion keeps iconv's shift state from leaking between texts.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(::iconv_open(to, from)) {}
    ~Converter() {
        if (opened()) ::iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool opened() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    Converted convert(std::string_view in, std::string_view replacement, Skip skip) {
        Converted out;
        out.text.resize(in.size() * 2 + 16);
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        std::size_t used = 0;
        while (srcLeft > 0) {
            char* dst = out.text.data() + used;
            std::size_t dstLeft = out.text.size() - used;
            const std::size_t result = ::iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            const int error = result == static_cast<std::size_t>(-1) ? errno : 0;
            used = out.text.size() - dstLeft;
            if (error == 0) break;
            if (error == E2BIG) {
                out.text.resize(out.text.size() * 2);
                continue;
            }
            // EILSEQ or EINVAL: no character of the source, one the target lacks, or a cut one.
            out.exact = false;
            const std::size_t n = skippedBytes(std::string_view(src, srcLeft), skip);
            src += n;
            srcLeft -= n;
            if (out.text.size() - used < replacement.size()) out.text.resize(out.text.size() * 2 + replacement.size());
            std::copy(replacement.begin(), replacement.end(), out.text.begin() + static_cast<std::ptrdiff_t>(used));
            used += replacement.size();
        }
        out.text.resize(used);
        return out;
    }

private:
    iconv_t cd_;
};

}  // namespace

std::optional<Converted> convertText(std::string_view text, const char* to, const char* from,
                                     std::string_view replacement, Skip skip) {
    Converter converter(to, from);
    if (!converter.opened()) return std::nullopt;
    return converter.convert(text, replacement, skip);
}

}  // namespace core

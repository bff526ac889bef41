#include "ui/Cp932.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <new>
#include <stdexcept>

namespace ui {
namespace {

// One iconv descriptor per call keeps the conversion state from leaking between texts.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts everything it can; each input sequence it cannot convert is skipped
    // (`skip(at)` bytes) and replaced by `replacement`. Returns false if any was.
    bool convert(const std::string& in, std::string& out, const std::string& replacement,
                 std::size_t (*skip)(const char* at, std::size_t left)) {
        out.assign(in.size() * 2 + 8, '\0');
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char* dst = out.data();
        std::size_t dstLeft = out.size();
        bool exact = true;
        while (srcLeft > 0) {
            if (iconv(cd_, &src, &srcLeft, &dst, &dstLeft) != static_cast<std::size_t>(-1)) break;
            if (errno == E2BIG) {
                grow(out, dst, dstLeft);
                continue;
            }
            // EILSEQ or EINVAL: a sequence the other side cannot hold, or a cut one.
            exact = false;
            const std::size_t n = skip(src, srcLeft);
            src += n;
            srcLeft -= n;
            while (dstLeft < replacement.size()) grow(out, dst, dstLeft);
            dst = std::copy(replacement.begin(), replacement.end(), dst);
            dstLeft -= replacement.size();
        }
        out.resize(out.size() - dstLeft);
        return exact;
    }

private:
    static void grow(std::string& out, char*& dst, std::size_t& dstLeft) {
        const std::size_t used = static_cast<std::size_t>(dst - out.data());
        out.resize(out.size() * 2 + 16);
        dst = out.data() + used;
        dstLeft = out.size() - used;
    }
    iconv_t cd_;
};

std::size_t oneByte(const char*, std::size_t) { return 1; }

// Length of the UTF-8 sequence at `at`, so a character that does not fit becomes one '?'.
std::size_t utf8Sequence(const char* at, std::size_t left) {
    const auto lead = static_cast<unsigned char>(*at);
    std::size_t n = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return n < left ? n : left;
}

constexpr char kCodePage[] = "WINDOWS-31J";

std::string utf8Of(const std::string& cp932Bytes) {
    std::string out;
    // A byte that is no character of the code page shows as U+FFFD.
    Converter("UTF-8", kCodePage).convert(cp932Bytes, out, "\xEF\xBF\xBD", oneByte);
    return out;
}

}  // namespace

QString fromCp932(const std::string& bytes) { return QString::fromStdString(utf8Of(bytes)); }

std::string toCp932(const QString& text) {
    std::string out;
    Converter(kCodePage, "UTF-8").convert(text.toStdString(), out, "?", utf8Sequence);
    return out;
}

// A character fits only when it comes back unchanged: the code page maps a few
// characters one way only (the yen sign to a backslash, for one), and those would
// change behind the user's back.
bool fitsCp932(const QString& text) {
    const std::string utf8 = text.toStdString();
    std::string bytes;
    if (!Converter(kCodePage, "UTF-8").convert(utf8, bytes, "?", utf8Sequence)) return false;
    return utf8Of(bytes) == utf8;
}

}  // namespace ui

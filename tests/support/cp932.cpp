#include "support/cp932.h"

#include <iconv.h>

#include <stdexcept>

namespace testsupport {
namespace {
std::string convert(std::string_view in, const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
    std::string out(in.size() * 4 + 4, '\0');
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = out.data();
    size_t dstLeft = out.size();
    const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1)) throw std::runtime_error("iconv failed");
    out.resize(out.size() - dstLeft);
    return out;
}
}  // namespace

std::string cp932(std::string_view utf8Text) { return convert(utf8Text, "WINDOWS-31J", "UTF-8"); }
std::string utf8(std::string_view cp932Bytes) { return convert(cp932Bytes, "UTF-8", "WINDOWS-31J"); }
}  // namespace testsupport

#include "support/cp932.h"

#include <stdexcept>

#include "core/text/code_page.h"

namespace testsupport {
namespace {
// A test's own literal must convert exactly; anything else is a mistake in the test.
std::string exactly(core::Converted converted) {
    if (!converted.exact) throw std::runtime_error("text outside the code page in a test");
    return std::move(converted.text);
}
}  // namespace

std::string cp932(std::string_view utf8Text) { return exactly(core::utf8ToCp932(utf8Text)); }
std::string utf8(std::string_view cp932Bytes) { return exactly(core::cp932ToUtf8(cp932Bytes)); }
}  // namespace testsupport

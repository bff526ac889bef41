#pragma once
// Test helper: UTF-8 literals to code-page-932 bytes and back (glibc iconv).
#include <string>
#include <string_view>

namespace testsupport {
std::string cp932(std::string_view utf8);
std::string utf8(std::string_view cp932Bytes);
}  // namespace testsupport

#pragma once
// Paths reach Windows as UTF-16; core holds them as UTF-8, so every name a Windows
// folder can hold opens, Japanese ones included.
#include <string>
#include <string_view>

namespace core {

// Raises IoFailure 123 (the name is not valid) for text that is no UTF-8 or holds
// a NUL, which would cut the name short.
std::wstring widePath(std::string_view utf8);
// UTF-16 from the system to UTF-8; a lone surrogate becomes U+FFFD.
std::string utf8FromWide(std::wstring_view wide);

}  // namespace core

#pragma once
// Between the terminal's encoding and code page 932, the encoding of every text
// the editor handles.
#include <stdexcept>
#include <string>
#include <string_view>

namespace quarvel_export {

class EncodingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Every character must survive: a label is data. The plain ASCII codeset of the C
// locale is taken as UTF-8. Raises EncodingError.
std::string toCodePage932(std::string_view text, const std::string& codeset);

// A message must get out even where the terminal cannot show all of it: a
// character without a form there becomes '?', the plain ASCII codeset of the C
// locale gets UTF-8, and an unknown codeset gets the bytes unchanged.
std::string fromCodePage932(std::string_view bytes, const std::string& codeset);

}  // namespace quarvel_export

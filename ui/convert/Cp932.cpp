#include "ui/convert/Cp932.h"

#include "core/text/code_page.h"

namespace ui {

QString fromCp932(const std::string& bytes) { return QString::fromStdString(core::cp932ToUtf8(bytes).text); }

std::string toCp932(const QString& text) { return core::utf8ToCp932(text.toStdString()).text; }

// A character fits only when it comes back unchanged: the code page maps a few
// characters one way only (the yen sign to a backslash, for one), and those would
// change behind the user's back.
bool fitsCp932(const QString& text) {
    const std::string utf8 = text.toStdString();
    const core::Converted bytes = core::utf8ToCp932(utf8);
    return bytes.exact && core::cp932ToUtf8(bytes.text).text == utf8;
}

}  // namespace ui

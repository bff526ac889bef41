// quarvel-export: writes a project's map in one of the editor's export formats.
// Windows hands the arguments over as UTF-16, whatever the console's code page.
#include <windows.h>

#include <string>
#include <vector>

#include "tools/quarvel_export_main.h"

namespace {

std::string utf8(const wchar_t* wide) {
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    if (length > 0) ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), length, nullptr, nullptr);
    text.pop_back();  // the NUL
    return text;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.push_back(utf8(argv[i]));
    return quarvel_export::exportMain(arguments);
}

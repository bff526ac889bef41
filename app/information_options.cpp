#include "app/information_options.h"

#include <cstring>
#include <string>

#include "quarvel/project_info.h"

namespace app {
namespace {

constexpr char kUsage[] =
    "usage: quarvel [PROJECT.quarvel]\n"
    "       quarvel --help | --version\n"
    "\n"
    "Opens the tile map editor. When PROJECT names an existing file, it is opened as\n"
    "a project at start; otherwise the editor starts with an empty 32 x 32 map. Only\n"
    "the first argument is read. A project file named like an option is given with\n"
    "its folder, as in ./--help.\n"
    "\n"
    "  --help     show this text\n"
    "  --version  show the version\n";

int write(std::FILE* out, const std::string& text) {
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size() && std::fflush(out) == 0;
    if (written) return 0;
    std::fputs("quarvel: cannot write to standard output\n", stderr);
    return 1;
}

}  // namespace

std::optional<int> answerInformationOption(int argc, char** argv, std::FILE* out) {
    if (argc < 2) return std::nullopt;
    if (std::strcmp(argv[1], "--help") == 0) return write(out, kUsage);
    if (std::strcmp(argv[1], "--version") == 0)
        return write(out, std::string("quarvel (Quarvel Editor) ") + quarvel::kVersion + "\n");
    return std::nullopt;
}

}  // namespace app

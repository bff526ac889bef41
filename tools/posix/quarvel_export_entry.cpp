// quarvel-export: writes a project's map in one of the editor's export formats.
#include <clocale>

#include "tools/quarvel_export_main.h"

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    return quarvel_export::exportMain(std::vector<std::string>(argv + 1, argv + argc));
}

// The exported texts are meant for real tool chains: build them with the
// system's C compiler and assembler and read the data back out of the result.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/export/export_formats.h"
#include "support/temp_folder.h"

namespace {

using core::EditorState;

constexpr const char* kLabel = "quarvel_tiles";

struct CommandResult {
    int status = -1;
    std::string output;
};

// Runs through the shell, standard error folded into the output for diagnostics.
CommandResult run(const std::string& command) {
    CommandResult result;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return result;
    char chunk[4096];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) result.output.append(chunk, got);
    result.status = ::pclose(pipe);
    return result;
}

bool toolAvailable(const std::string& tool) { return run(tool + " --version").status == 0; }

void writeText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// Random cells with both ends of the range present.
EditorState randomMap(std::int32_t width, std::int32_t height, unsigned seed) {
    EditorState state;
    state.MapName = kLabel;
    state.MapWidth = width;
    state.MapHeight = height;
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> cell(0, 65535);
    state.Map = core::TileMap(static_cast<std::size_t>(height), static_cast<std::size_t>(width));
    for (const core::MapRow row : state.Map)
        for (auto& value : row) value = static_cast<core::Cell>(cell(random));
    state.Map.front().front() = 65535;
    state.Map.back().back() = 0;
    return state;
}

// One value per line, in the map's row-major order.
std::string expectedListing(const EditorState& state) {
    std::string out;
    for (const auto& row : state.Map)
        for (const auto value : row) out += std::to_string(value) + "\n";
    return out;
}

std::string printerSource(const std::string& declaration, const std::string& count) {
    return "#include <stdio.h>\n" + declaration +
           "\nint main(void) {\n"
           "    for (unsigned long i = 0; i < (unsigned long)(" + count + "); ++i) printf(\"%u\\n\", (unsigned)" +
           kLabel + "[i]);\n"
           "    return 0;\n"
           "}\n";
}

struct MapShape {
    std::int32_t width;
    std::int32_t height;
};
// Widths that end rows on a full line (empty lines inside the initializer) and mid-line.
const std::vector<MapShape> kShapes = {{13, 5}, {16, 3}, {1, 1}, {64, 40}};

TEST(ExportCompiles, CarrayBuildsWithTheCCompilerAndHoldsTheValuesInOrder) {
    if (!toolAvailable("cc")) GTEST_SKIP() << "no C compiler";
    for (const auto& shape : kShapes) {
        testsupport::TempFolder folder;
        const EditorState state = randomMap(shape.width, shape.height, 7u + static_cast<unsigned>(shape.width));
        core::exportToFile(core::ExportFormat::CArray, state, folder.file("map.c"));
        // Including the export keeps its array complete, so its length can be checked too.
        writeText(folder.file("print.c"), printerSource("#include \"map.c\"\n", std::string("sizeof ") + kLabel +
                                                                               " / sizeof " + kLabel + "[0]"));
        const auto build = run("cc -std=c99 -Wall -Werror -o " + folder.file("print") + " " + folder.file("print.c"));
        ASSERT_EQ(build.status, 0) << build.output;
        const auto listing = run(folder.file("print"));
        ASSERT_EQ(listing.status, 0);
        EXPECT_EQ(listing.output, expectedListing(state)) << shape.width << " x " << shape.height;
    }
}

TEST(ExportCompiles, GasAssemblesIntoAGlobalSymbolOfTheRightSizeHoldingTheValuesInOrder) {
    if (!toolAvailable("as") || !toolAvailable("cc") || !toolAvailable("nm")) GTEST_SKIP() << "no assembler";
    for (const auto& shape : kShapes) {
        testsupport::TempFolder folder;
        const EditorState state = randomMap(shape.width, shape.height, 11u + static_cast<unsigned>(shape.height));
        core::exportToFile(core::ExportFormat::Gas, state, folder.file("map.s"));
        const auto assemble = run("as -o " + folder.file("map.o") + " " + folder.file("map.s"));
        ASSERT_EQ(assemble.status, 0) << assemble.output;

        // "<address> <size> R quarvel_tiles": global, read-only data, two bytes per value.
        const auto symbols = run("nm -S " + folder.file("map.o"));
        ASSERT_EQ(symbols.status, 0) << symbols.output;
        std::istringstream fields(symbols.output);
        std::string address, size, kind, name;
        fields >> address >> size >> kind >> name;
        EXPECT_EQ(name, kLabel);
        EXPECT_EQ(kind, "R");
        EXPECT_EQ(std::stoul(size, nullptr, 16), static_cast<unsigned long>(shape.width * shape.height * 2));

        const std::string count = std::to_string(shape.width * shape.height);
        writeText(folder.file("print.c"), printerSource(std::string("extern const unsigned short ") + kLabel + "[];", count));
        const auto link = run("cc -o " + folder.file("print") + " " + folder.file("print.c") + " " + folder.file("map.o"));
        ASSERT_EQ(link.status, 0) << link.output;
        const auto listing = run(folder.file("print"));
        ASSERT_EQ(listing.status, 0);
        EXPECT_EQ(listing.output, expectedListing(state)) << shape.width << " x " << shape.height;
    }
}

}  // namespace

// quarvel-export's formats for the toolchains: every assembler format assembled by
// the real assemblers into the map's bytes, the binary words, the CSV rows, the
// picture decoded again, and the region and batch rules.
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/bmp_file_builder.h"
#include "tools/export_command.h"

namespace {

using testsupport::readAll;
using toolstest::ExportCommand;
using toolstest::Outcome;

struct Map {
    int width = 0;
    int height = 0;
    std::vector<std::uint16_t> cells;  // row by row
};

// Cells that hold 0, 65535 and values of every length, differing from cell to cell.
Map sampleMap(int width, int height) {
    Map map{width, height, {}};
    std::uint32_t seed = 12345u + static_cast<std::uint32_t>(width * 7 + height);
    for (int i = 0; i < width * height; ++i) {
        seed = seed * 1103515245u + 12345u;
        const std::uint16_t shapes[] = {0, 65535, static_cast<std::uint16_t>(seed >> 16),
                                        static_cast<std::uint16_t>((seed >> 16) % 100), 7};
        map.cells.push_back(shapes[(seed >> 8) % 5]);
    }
    return map;
}

std::string projectText(const Map& map, const std::string& sheet = "", const std::string& label = "map") {
    std::string text = sheet + "\r\n" + label + "\r\n" + std::to_string(map.width) + "\r\n" +
                       std::to_string(map.height) + "\r\n";
    for (const std::uint16_t cell : map.cells) text += std::to_string(cell) + "\r\n";
    return text;
}

std::string littleEndianBytes(const Map& map) {
    std::string bytes;
    for (const std::uint16_t cell : map.cells) {
        bytes += static_cast<char>(cell & 0xFF);
        bytes += static_cast<char>(cell >> 8);
    }
    return bytes;
}

std::string programPath(const std::string& name) {
    for (const char* folder : {"/usr/bin", "/usr/local/bin", "/bin"}) {
        const std::string path = std::string(folder) + "/" + name;
        if (std::filesystem::exists(path)) return path;
    }
    return {};
}

class ExportFormats : public ExportCommand {
protected:
    // Exports the map as `format` and returns the file's bytes; the export must succeed.
    std::string exported(const Map& map, const std::string& format, const std::vector<std::string>& more = {}) {
        const std::string project = folder.write("map.quarvel", projectText(map));
        const std::string output = folder.file("map." + format);
        std::vector<std::string> arguments{"--format", format, "-o", output};
        arguments.insert(arguments.end(), more.begin(), more.end());
        arguments.push_back(project);
        const Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
        return readAll(output);
    }

    // Runs an assembler step; the program must be installed (scripts/install-deps.sh).
    void tool(const std::string& name, const std::vector<std::string>& arguments) {
        const std::string path = programPath(name);
        ASSERT_FALSE(path.empty()) << name << " is not installed";
        toolstest::Launch launch;
        launch.workingFolder = folder.path();
        const Outcome outcome = runProgram(path, arguments, launch);
        ASSERT_EQ(outcome.exitCode, 0) << name << ": " << outcome.out << outcome.err;
    }

    // The bytes each assembler makes of its format's export of `map`.
    void expectAssembledTo(const Map& map) {
        const std::string expected = littleEndianBytes(map);
        const std::string name = std::to_string(map.width) + " x " + std::to_string(map.height);
        exported(map, "ca65");
        tool("ca65", {"map.ca65", "-o", "map.o"});
        tool("ld65", {"-t", "none", "map.o", "-o", "ca65.bin"});
        EXPECT_EQ(readAll(folder.file("ca65.bin")), expected) << "ca65, " << name;
        exported(map, "nasm");
        tool("nasm", {"-f", "bin", "map.nasm", "-o", "nasm.bin"});
        EXPECT_EQ(readAll(folder.file("nasm.bin")), expected) << "nasm, " << name;
        exported(map, "z80");
        tool("pasmo", {"map.z80", "pasmo.bin"});
        EXPECT_EQ(readAll(folder.file("pasmo.bin")), expected) << "pasmo, " << name;
        tool("z80asm", {"-o", "z80asm.bin", "map.z80"});
        EXPECT_EQ(readAll(folder.file("z80asm.bin")), expected) << "z80asm, " << name;
    }
};

// Lines of a text export: each must end with CR LF.
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t end = text.find("\r\n", from);
        if (end == std::string::npos) {
            ADD_FAILURE() << "a line without CR LF at the end";
            break;
        }
        lines.push_back(text.substr(from, end - from));
        from = end + 2;
    }
    return lines;
}

std::size_t valuesOn(const std::string& line) {
    const std::size_t tab = line.rfind('\t');
    return 1 + static_cast<std::size_t>(std::count(line.begin() + static_cast<std::ptrdiff_t>(tab), line.end(), ','));
}

TEST_F(ExportFormats, EveryAssemblerFormatAssemblesIntoTheMapsBytes) {
    for (const auto& [width, height] : {std::pair{1, 1}, {17, 3}, {33, 2}, {4096, 1}, {1, 4096}})
        expectAssembledTo(sampleMap(width, height));
}

TEST_F(ExportFormats, BinaryWordsAreLittleEndianOrBigEndianWithoutAHeader) {
    const Map map = sampleMap(5, 3);
    EXPECT_EQ(exported(map, "bin"), littleEndianBytes(map));
    std::string big = littleEndianBytes(map);
    for (std::size_t i = 0; i < big.size(); i += 2) std::swap(big[i], big[i + 1]);
    EXPECT_EQ(exported(map, "bin", {"--big-endian"}), big);
    EXPECT_EQ(run({"--format", "c", "--big-endian", folder.write("p.quarvel", projectText(map))}).exitCode, 2);
}

TEST_F(ExportFormats, TextFormatsEndEveryLineAndHoldAtMostSixteenValuesALine) {
    const Map map = sampleMap(35, 2);
    for (const std::string format : {"ca65", "nasm", "z80", "rgbds"}) {
        const std::vector<std::string> lines = linesOf(exported(map, format));
        std::size_t values = 0;
        for (const std::string& line : lines)
            if (line.find("\t.word\t") == 0 || line.find("\tdw\t") == 0) {
                EXPECT_LE(valuesOn(line), 16u) << format << ": " << line;
                values += valuesOn(line);
            }
        EXPECT_EQ(values, map.cells.size()) << format;
        // A row of 35 gives lines of 16, 16 and 3: no line holds two rows.
        EXPECT_EQ(lines.size(), (format == "rgbds" ? 2u : 1u) + 2 * 3) << format;
    }
    EXPECT_EQ(exported(Map{2, 1, {5, 65535}}, "rgbds"), "SECTION \"map\", ROM0\r\nmap::\r\n\tdw\t5,65535\r\n");
    EXPECT_EQ(exported(Map{3, 2, {0, 1, 2, 3, 4, 65535}}, "csv"), "0,1,2\r\n3,4,65535\r\n");
    EXPECT_EQ(linesOf(exported(sampleMap(40, 3), "csv")).size(), 3u) << "one line a row, however wide";
}

// A region exports exactly as a map that holds only those cells.
TEST_F(ExportFormats, ARegionExportsAsAMapOfOnlyItsCells) {
    const Map map = sampleMap(9, 7);
    Map part{4, 3, {}};
    for (int row = 2; row < 5; ++row)
        for (int column = 3; column < 7; ++column) part.cells.push_back(map.cells[row * 9 + column]);
    for (const std::string format : {"c", "gas", "dragonbasic", "bin", "ca65", "csv"})
        EXPECT_EQ(exported(map, format, {"--region", "3,2,4,3"}), exported(part, format)) << format;
    EXPECT_EQ(exported(map, "c", {"--region", "0,0,9,7"}), exported(map, "c"));

    const std::string project = folder.write("p.quarvel", projectText(map));
    for (const std::string outside : {"6,0,4,1", "0,5,1,3", "-1,0,1,1", "0,0,0,1", "9,0,1,1"}) {
        const Outcome refused = run({"--region", outside, project});
        EXPECT_EQ(refused.exitCode, 1) << outside;
        EXPECT_NE(refused.err.find("the region " + outside + " does not lie inside the map of 9 x 7 cells."),
                  std::string::npos)
            << refused.err;
        EXPECT_EQ(refused.out, "");
    }
    for (const std::string malformed : {"1,2,3", "1,2,3,4,5", "a,0,1,1", ""})
        EXPECT_EQ(run({"--region", malformed, project}).exitCode, 2) << malformed;
}

TEST_F(ExportFormats, SeveralProjectsGoToTheFolderAndAFailureStopsNoOther) {
    const std::string first = folder.write("first.quarvel", projectText(sampleMap(3, 2)));
    const std::string second = folder.write("second.map.quarvel", projectText(sampleMap(4, 4)));
    const std::string missing = folder.file("missing.quarvel");
    std::filesystem::create_directory(folder.file("out"));
    const Outcome outcome = run({"--format", "nasm", "--out-dir", folder.file("out"), first, missing, second});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.err, "quarvel-export: " + missing + ": ファイルが見つかりません.\n");
    EXPECT_EQ(readAll(folder.file("out/first.asm")), exported(sampleMap(3, 2), "nasm"));
    EXPECT_EQ(readAll(folder.file("out/second.map.asm")), exported(sampleMap(4, 4), "nasm"));

    EXPECT_EQ(run({"--format", "nasm", "--out-dir", folder.file("out"), first, second}).exitCode, 0);
    EXPECT_EQ(run({"-o", folder.file("x"), first, second}).exitCode, 2) << "-o takes one project";
    EXPECT_EQ(run({first, second}).exitCode, 2) << "standard output takes one project";
    EXPECT_EQ(run({"--out-dir", folder.file("out"), "-o", folder.file("x"), first}).exitCode, 2);
    std::filesystem::create_directory(folder.file("other"));
    const std::string twin = folder.write("other/first.quarvel", projectText(sampleMap(1, 1)));
    EXPECT_EQ(run({"--out-dir", folder.file("out"), first, twin}).exitCode, 2) << "two projects, one file";
}

// The picture read back with libpng: RGBA rows of 8 x 8 pixels a cell.
struct Picture {
    png_uint_32 width = 0, height = 0;
    std::vector<std::uint32_t> rgba;  // 0xRRGGBBAA
};

Picture readPng(const std::string& path) {
    Picture picture;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return picture;
    image.format = PNG_FORMAT_RGBA;
    std::vector<png_byte> bytes(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr)) return picture;
    picture.width = image.width;
    picture.height = image.height;
    for (std::size_t i = 0; i + 3 < bytes.size(); i += 4)
        picture.rgba.push_back(std::uint32_t{bytes[i]} << 24 | std::uint32_t{bytes[i + 1]} << 16 |
                               std::uint32_t{bytes[i + 2]} << 8 | bytes[i + 3]);
    return picture;
}

// A 24-bit sheet of 20 x 16 pixels: two rows of two whole tiles, 4 pixels left over.
std::uint32_t sheetRgb(int x, int y) { return static_cast<std::uint32_t>(x * 11 << 16 | y * 13 << 8 | (x + y) * 3); }

TEST_F(ExportFormats, APictureCopiesEachCellsTileAndLeavesTheRestTransparent) {
    testsupport::BmpFields fields;
    fields.width = 20;
    fields.height = 16;
    for (int row = 15; row >= 0; --row) {
        for (int x = 0; x < 20; ++x) testsupport::putLittleEndian(fields.pixels, sheetRgb(x, row), 3);
    }
    folder.write("sheet.bmp", testsupport::buildBmp(fields));
    const Map map{3, 2, {0, 3, 4, 2, 1, 65535}};  // tiles 4 and 65535 lie outside the sheet
    const std::string project = folder.write("pic.quarvel", projectText(map, folder.file("sheet.bmp")));
    ASSERT_EQ(run({"--format", "png", "-o", folder.file("pic.png"), project}).exitCode, 0);
    const Picture picture = readPng(folder.file("pic.png"));
    ASSERT_EQ(picture.width, 24u);
    ASSERT_EQ(picture.height, 16u);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 24; ++x) {
            const int tile = map.cells[(y / 8) * 3 + x / 8];
            const std::uint32_t expected =
                tile >= 4 ? 0u : sheetRgb(tile % 2 * 8 + x % 8, tile / 2 * 8 + y % 8) << 8 | 0xFF;
            ASSERT_EQ(picture.rgba[static_cast<std::size_t>(y) * 24 + x], expected) << x << ", " << y;
        }

    // 2049 x 2048 cells would be more than 2^28 pixels: refused, and a region fits.
    const std::string large = folder.write("large.quarvel", projectText(Map{2049, 2048, std::vector<std::uint16_t>(2049 * 2048)}));
    const Outcome refused = run({"--format", "png", "-o", folder.file("large.png"), large});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("--region"), std::string::npos) << refused.err;
    EXPECT_FALSE(std::filesystem::exists(folder.file("large.png")));
    EXPECT_EQ(run({"--format", "png", "--region", "0,0,64,64", "-o", folder.file("part.png"), large}).exitCode, 0);
    EXPECT_EQ(readPng(folder.file("part.png")).width, 512u);
}

}  // namespace

// Writes the demo tile sheet (a 24-bit BMP) and the demo project that uses it.
//   make-demo-sheet <folder>   writes <folder>/demo_sheet.bmp and <folder>/demo.quarvel
// The project names its sheet "examples/demo_sheet.bmp": the editor opens an image
// path relative to the current folder, and the demo is started from the repository root.
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <fstream>
#include <string>
#include <string_view>

#include "tools/demo_map.h"
#include "tools/demo_tiles.h"

namespace {

constexpr std::string_view kSheetPathInProject = "examples/demo_sheet.bmp";
constexpr std::string_view kMapLabel = "demo";

void putLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

// BITMAPFILEHEADER + BITMAPINFOHEADER, bottom-up rows of B, G, R padded to 4 bytes.
std::string encodeBmp24(const demo::Picture& picture) {
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(picture.width) * 3 + 3) & ~3u;
    const std::uint32_t pixelBytes = rowBytes * static_cast<std::uint32_t>(picture.height);
    constexpr std::uint32_t kHeaderBytes = 14 + 40;
    std::string out;
    out.reserve(kHeaderBytes + pixelBytes);
    out += "BM";
    putLittleEndian(out, kHeaderBytes + pixelBytes, 4);
    putLittleEndian(out, 0, 4);
    putLittleEndian(out, kHeaderBytes, 4);
    putLittleEndian(out, 40, 4);
    putLittleEndian(out, static_cast<std::uint32_t>(picture.width), 4);
    putLittleEndian(out, static_cast<std::uint32_t>(picture.height), 4);
    putLittleEndian(out, 1, 2);
    putLittleEndian(out, 24, 2);
    putLittleEndian(out, 0, 4);  // no compression
    putLittleEndian(out, pixelBytes, 4);
    putLittleEndian(out, 2835, 4);  // 72 dpi
    putLittleEndian(out, 2835, 4);
    putLittleEndian(out, 0, 4);
    putLittleEndian(out, 0, 4);
    for (int y = picture.height - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t rgb = picture.pixels[static_cast<std::size_t>(y) * picture.width + x];
            out.push_back(static_cast<char>(rgb & 0xff));
            out.push_back(static_cast<char>((rgb >> 8) & 0xff));
            out.push_back(static_cast<char>((rgb >> 16) & 0xff));
        }
        out.resize(rowStart + rowBytes, '\0');
    }
    return out;
}

void appendLine(std::string& out, std::string_view line) {
    out += line;
    out += "\r\n";
}

void appendNumberLine(std::string& out, unsigned value) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    appendLine(out, std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

// Image path, label, width, height, then one cell per line, CR LF after each.
std::string encodeProject(const demo::MapCells& cells) {
    std::string out;
    appendLine(out, kSheetPathInProject);
    appendLine(out, kMapLabel);
    appendNumberLine(out, demo::kMapWidth);
    appendNumberLine(out, demo::kMapHeight);
    for (const auto& row : cells)
        for (const std::uint16_t cell : row) appendNumberLine(out, cell);
    return out;
}

void writeWhole(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) throw std::runtime_error("cannot write " + path);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-demo-sheet <folder>\n");
        return 2;
    }
    try {
        const std::string folder = argv[1];
        writeWhole(folder + "/demo_sheet.bmp", encodeBmp24(demo::drawDemoSheet()));
        writeWhole(folder + "/demo.quarvel", encodeProject(demo::drawDemoMap()));
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "make-demo-sheet: %s\n", failure.what());
        return 1;
    }
    return 0;
}

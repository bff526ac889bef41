// Draws the application icon from the demo sheet's tiles: a corner of a village,
// pixel for pixel as the editor would show it.
//   make-app-icon <folder>   writes <folder>/hicolor/scalable/apps/<app id>.svg and
//                            <folder>/hicolor/<N>x<N>/apps/<app id>.png for each size
// The large picture (4 x 4 tiles) serves 32 pixels and up, scaled by whole numbers;
// the small one (2 x 2 tiles, a house) serves 16, 22, 24 and 48, where the large
// one would blur or lose its shapes.
#include <QColor>
#include <QDir>
#include <QImage>
#include <QSaveFile>
#include <QString>

#include <array>
#include <cstdio>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "quarvel/project_info.h"
#include "tools/demo_tiles.h"

namespace {

using demo::Tile;

// Tiles row by row.
const std::vector<std::vector<std::uint16_t>> kLargeArt = {
    {Tile::Roof, Tile::Roof, Tile::Tree, Tile::ShoreWest},
    {Tile::Window, Tile::Door, Tile::GrassFlowers, Tile::ShoreWest},
    {Tile::Path, Tile::Path, Tile::PathPebbles, Tile::Bridge},
    {Tile::GrassFlowers, Tile::Bush, Tile::GrassTuft, Tile::ShoreWest},
};
const std::vector<std::vector<std::uint16_t>> kSmallArt = {
    {Tile::Roof, Tile::Roof},
    {Tile::Window, Tile::Door},
};

// A picture of whole tiles, 0xRRGGBB per pixel.
demo::Picture compose(const demo::Picture& sheet, const std::vector<std::vector<std::uint16_t>>& tiles) {
    demo::Picture art;
    art.height = static_cast<int>(tiles.size()) * demo::kTileSize;
    art.width = static_cast<int>(tiles.front().size()) * demo::kTileSize;
    art.pixels.resize(static_cast<std::size_t>(art.width) * art.height);
    for (int y = 0; y < art.height; ++y)
        for (int x = 0; x < art.width; ++x) {
            const int tile = tiles[y / demo::kTileSize][x / demo::kTileSize];
            const int sheetX = tile % demo::kSheetColumns * demo::kTileSize + x % demo::kTileSize;
            const int sheetY = tile / demo::kSheetColumns * demo::kTileSize + y % demo::kTileSize;
            art.pixels[static_cast<std::size_t>(y) * art.width + x] =
                sheet.pixels[static_cast<std::size_t>(sheetY) * sheet.width + sheetX];
        }
    return art;
}

// The art scaled by a whole number, centred on a transparent square of `size`.
QImage render(const demo::Picture& art, int size) {
    const int scale = size / art.width;
    const int margin = (size - art.width * scale) / 2;
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < art.height * scale; ++y)
        for (int x = 0; x < art.width * scale; ++x) {
            const std::uint32_t rgb = art.pixels[static_cast<std::size_t>(y / scale) * art.width + x / scale];
            image.setPixel(margin + x, margin + y, 0xFF000000u | rgb);
        }
    return image;
}

// One rectangle per run of a colour within a row, on a grid of art pixels.
std::string svgOf(const demo::Picture& art) {
    char buffer[128];
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    std::snprintf(buffer, sizeof buffer,
                  "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 %d %d\"",
                  art.width, art.height);
    svg += buffer;
    svg += " shape-rendering=\"crispEdges\">\n";
    for (int y = 0; y < art.height; ++y) {
        for (int x = 0; x < art.width;) {
            const std::uint32_t rgb = art.pixels[static_cast<std::size_t>(y) * art.width + x];
            int run = 1;
            while (x + run < art.width && art.pixels[static_cast<std::size_t>(y) * art.width + x + run] == rgb) ++run;
            std::snprintf(buffer, sizeof buffer, "<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"1\" fill=\"#%06x\"/>\n",
                          x, y, run, static_cast<unsigned>(rgb));
            svg += buffer;
            x += run;
        }
    }
    svg += "</svg>\n";
    return svg;
}

void save(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(path.section('/', 0, -2));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw std::runtime_error("cannot write " + path.toStdString());
}

void savePng(const QString& path, const QImage& image) {
    QDir().mkpath(path.section('/', 0, -2));
    if (!image.save(path, "PNG")) throw std::runtime_error("cannot write " + path.toStdString());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-app-icon <folder>\n");
        return 2;
    }
    try {
        const QString hicolor = QString::fromLocal8Bit(argv[1]) + "/hicolor/";
        const demo::Picture sheet = demo::drawDemoSheet();
        const demo::Picture large = compose(sheet, kLargeArt);
        const demo::Picture small = compose(sheet, kSmallArt);
        const std::string svg = svgOf(large);
        save(hicolor + "scalable/apps/" + quarvel::kAppId + ".svg", QByteArray(svg.data(), static_cast<qsizetype>(svg.size())));
        for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            const bool useLarge = size >= large.width && size % large.width == 0;
            const QString folder = QString("%1x%1/apps/").arg(size);
            savePng(hicolor + folder + quarvel::kAppId + ".png", render(useLarge ? large : small, size));
        }
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "make-app-icon: %s\n", failure.what());
        return 1;
    }
    return 0;
}

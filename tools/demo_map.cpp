#include "tools/demo_map.h"

#include <string_view>

#include "tools/demo_tiles.h"

namespace demo {
namespace {

class MapCanvas {
public:
    MapCanvas() : cells_(kMapHeight, std::vector<std::uint16_t>(kMapWidth, Grass)) {}

    void put(int column, int row, std::uint16_t tile) {
        if (column >= 0 && row >= 0 && column < kMapWidth && row < kMapHeight) cells_[row][column] = tile;
    }
    std::uint16_t at(int column, int row) const { return cells_[row][column]; }
    void rect(int left, int top, int width, int height, std::uint16_t tile) {
        for (int r = top; r < top + height; ++r)
            for (int c = left; c < left + width; ++c) put(c, r, tile);
    }
    void text(int column, int row, std::string_view line) {
        for (std::size_t i = 0; i < line.size(); ++i) put(column + static_cast<int>(i), row, glyphTile(line[i]));
    }
    MapCells take() { return std::move(cells_); }

private:
    MapCells cells_;
};

// A fixed scatter, so the generated file is the same on every run.
bool scattered(int column, int row, unsigned salt, unsigned oneIn) {
    unsigned h = (static_cast<unsigned>(row) * 97u + static_cast<unsigned>(column)) * 0x9e3779b9u + salt * 0x85ebca6bu;
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    h *= 0x297a2d39u;
    h ^= h >> 15;
    return h % oneIn == 0;
}

void drawMeadow(MapCanvas& m) {
    for (int r = 0; r < kMapHeight; ++r)
        for (int c = 0; c < kMapWidth; ++c) {
            if (scattered(c, r, 1, 9)) m.put(c, r, GrassFlowers);
            else if (scattered(c, r, 2, 7)) m.put(c, r, GrassTuft);
        }
    for (int c = 0; c < kMapWidth; ++c) m.put(c, kMapHeight - 1, Tree);
    for (int r = 3; r < kMapHeight; ++r) m.put(0, r, Tree), m.put(kMapWidth - 1, r, Tree);
}

void drawBanner(MapCanvas& m) {
    m.rect(0, 0, kMapWidth, 3, glyphTile(' '));
    m.text(9, 1, "QUARVEL EDITOR");
    m.put(7, 1, iconTile(Icon::Star));
    m.put(24, 1, iconTile(Icon::Star));
    m.put(2, 1, iconTile(Icon::Heart));
    m.put(29, 1, iconTile(Icon::Gem));
}

void drawRiver(MapCanvas& m) {
    for (int r = 3; r < kMapHeight; ++r) {
        m.put(20, r, ShoreWest);
        m.put(21, r, (r % 4 == 1) ? WaterWave : Water);
        m.put(22, r, ShoreEast);
    }
    m.put(21, 18, LilyPad);
    m.put(21, 6, LilyPad);
}

void drawRoads(MapCanvas& m) {
    for (int c = 1; c < kMapWidth - 1; ++c) m.put(c, 14, (c % 5 == 2) ? PathPebbles : Path);
    m.rect(20, 14, 3, 1, Bridge);
    for (int r = 11; r < 14; ++r) m.put(8, r, Path);
    for (int c : {4, 12, 17, 26}) m.put(c, 13, LampPost);
    m.put(24, 15, SignPost);
    m.rect(6, 15, 5, 2, Cobbles);
}

void drawHouse(MapCanvas& m) {
    m.rect(5, 5, 7, 2, Roof);
    m.rect(5, 7, 7, 3, Bricks);
    m.put(8, 10, Door);
    m.rect(5, 10, 3, 1, Bricks);
    m.rect(9, 10, 3, 1, Bricks);
    m.put(6, 8, Window);
    m.put(10, 8, Window);
    m.rect(3, 4, 11, 1, Fence);
    m.put(3, 11, Bush), m.put(13, 11, Bush), m.put(13, 6, Mushroom);
}

void drawFarm(MapCanvas& m) {
    for (int r = 5; r < 11; ++r)
        for (int c = 24; c < 30; ++c) m.put(c, r, (r % 2 == 0) ? Wheat : Soil);
    m.rect(24, 4, 6, 1, Fence);
    m.rect(24, 11, 6, 1, Fence);
}

// A rainbow bed of colour swatches and a few rocks south of the road.
void drawGarden(MapCanvas& m) {
    for (int hue = 0; hue < 16; ++hue) m.put(2 + hue, 19, swatchTile(hue, 2));
    for (int hue = 0; hue < 16; ++hue) m.put(2 + hue, 20, swatchTile(hue, 4));
    m.put(14, 16, Rock), m.put(3, 17, Rock), m.put(27, 19, Rock), m.put(25, 21, Bush), m.put(28, 17, Tree);
    m.rect(24, 17, 3, 2, Sand);
}

}  // namespace

MapCells drawDemoMap() {
    MapCanvas canvas;
    drawMeadow(canvas);
    drawBanner(canvas);
    drawRiver(canvas);
    drawRoads(canvas);
    drawHouse(canvas);
    drawFarm(canvas);
    drawGarden(canvas);
    return canvas.take();
}

}  // namespace demo

#include "tools/demo_tiles.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string_view>

namespace demo {
namespace {

using Colour = std::uint32_t;

constexpr Colour kGrass = 0x4caf50, kGrassDark = 0x2e7d32, kGrassLight = 0x81c784;
constexpr Colour kSand = 0xd7b377, kSandDark = 0xb08d57;
constexpr Colour kWater = 0x2e6fd8, kWaterLight = 0x64a0f0, kFoam = 0xd8ecff;
constexpr Colour kWood = 0x8d5a2b, kWoodDark = 0x5d3a1a;
constexpr Colour kBrick = 0xb5452f, kMortar = 0xe0d6c8;
constexpr Colour kStone = 0x9e9e9e, kStoneDark = 0x616161, kStoneLight = 0xd0d0d0;
constexpr Colour kNavy = 0x1e2a48, kWhite = 0xf5f5f5;
constexpr Colour kRed = 0xe53935, kYellow = 0xfdd835, kGold = 0xffc107;

// Characters in sheet order from tile 32; the last six cells of that run are pictures.
constexpr std::string_view kGlyphOrder = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ !?.-:";
constexpr int kFirstGlyphTile = 32;
constexpr int kFirstPatternTile = 80;
constexpr int kFirstSwatchTile = 128;

// 5 x 7 glyphs, in kGlyphOrder, then heart, star, coin, key, gem, note.
constexpr std::array<std::array<std::string_view, 7>, 48> kGlyphs = {{
    {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."},
    {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."},
    {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"},
    {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."},
    {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."},
    {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."},
    {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."},
    {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."},
    {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."},
    {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."},
    {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"},
    {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."},
    {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."},
    {"###..", "#..#.", "#...#", "#...#", "#...#", "#..#.", "###.."},
    {"#####", "#....", "#....", "####.", "#....", "#....", "#####"},
    {"#####", "#....", "#....", "####.", "#....", "#....", "#...."},
    {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"},
    {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"},
    {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."},
    {"..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."},
    {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"},
    {"#....", "#....", "#....", "#....", "#....", "#....", "#####"},
    {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"},
    {"#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"},
    {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."},
    {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."},
    {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"},
    {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"},
    {".####", "#....", "#....", ".###.", "....#", "....#", "####."},
    {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."},
    {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."},
    {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."},
    {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."},
    {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"},
    {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."},
    {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"},
    {".....", ".....", ".....", ".....", ".....", ".....", "....."},
    {"..#..", "..#..", "..#..", "..#..", "..#..", ".....", "..#.."},
    {".###.", "#...#", "....#", "...#.", "..#..", ".....", "..#.."},
    {".....", ".....", ".....", ".....", ".....", ".##..", ".##.."},
    {".....", ".....", ".....", "#####", ".....", ".....", "....."},
    {".....", ".##..", ".##..", ".....", ".##..", ".##..", "....."},
    {".#.#.", "#####", "#####", "#####", ".###.", "..#..", "....."},
    {"..#..", "..#..", "#####", ".###.", ".###.", "##.##", "#...#"},
    {".###.", "#####", "##.##", "##.##", "##.##", "#####", ".###."},
    {".##..", "#..#.", ".##..", "..#..", "..###", "..#..", "..##."},
    {".###.", "#####", "#####", ".###.", ".###.", "..#..", "..#.."},
    {"..###", "..#.#", "..#..", "..#..", "###..", "###..", "....."},
}};

// A deterministic value 0..255 per (tile, x, y), for texture.
unsigned speckle(int tile, int x, int y) {
    unsigned h = static_cast<unsigned>(tile) * 73856093u ^ static_cast<unsigned>(x) * 19349663u ^
                 static_cast<unsigned>(y) * 83492791u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return h & 0xffu;
}

Colour mix(Colour a, Colour b, double t) {
    auto channel = [&](int shift) {
        const double va = (a >> shift) & 0xff, vb = (b >> shift) & 0xff;
        return static_cast<Colour>(std::lround(va + (vb - va) * t)) << shift;
    };
    return channel(16) | channel(8) | channel(0);
}

class SheetCanvas {
public:
    SheetCanvas() {
        picture_.width = kSheetColumns * kTileSize;
        picture_.height = kSheetRows * kTileSize;
        picture_.pixels.assign(static_cast<std::size_t>(picture_.width) * picture_.height, 0);
    }

    void set(int tile, int x, int y, Colour colour) {
        if (x < 0 || y < 0 || x >= kTileSize || y >= kTileSize) return;
        const int px = (tile % kSheetColumns) * kTileSize + x;
        const int py = (tile / kSheetColumns) * kTileSize + y;
        picture_.pixels[static_cast<std::size_t>(py) * picture_.width + px] = colour;
    }
    Colour get(int tile, int x, int y) const {
        const int px = (tile % kSheetColumns) * kTileSize + x;
        const int py = (tile / kSheetColumns) * kTileSize + y;
        return picture_.pixels[static_cast<std::size_t>(py) * picture_.width + px];
    }
    void fill(int tile, Colour colour) {
        for (int y = 0; y < kTileSize; ++y)
            for (int x = 0; x < kTileSize; ++x) set(tile, x, y, colour);
    }
    // Base colour with light and dark flecks, so large areas do not look flat.
    void texture(int tile, Colour base, Colour light, Colour dark, unsigned density = 40) {
        for (int y = 0; y < kTileSize; ++y)
            for (int x = 0; x < kTileSize; ++x) {
                const unsigned s = speckle(tile, x, y);
                set(tile, x, y, s < density ? dark : s > 255 - density ? light : base);
            }
    }
    // Pixels marked '#' in rows of text, from (left, top).
    void stencil(int tile, int left, int top, const std::array<std::string_view, 7>& rows, Colour colour) {
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 5; ++x)
                if (rows[y][x] == '#') set(tile, left + x, top + y, colour);
    }
    void copy(int from, int to) {
        for (int y = 0; y < kTileSize; ++y)
            for (int x = 0; x < kTileSize; ++x) set(to, x, y, get(from, x, y));
    }

    Picture take() { return std::move(picture_); }

private:
    Picture picture_;
};

void drawGroundTiles(SheetCanvas& c) {
    c.texture(Grass, kGrass, kGrassLight, kGrassDark);
    c.texture(GrassFlowers, kGrass, kGrassLight, kGrassDark);
    for (auto [x, y, petal] : {std::array<int, 3>{2, 2, int(kRed)}, {5, 5, int(kWhite)}, {6, 1, int(kYellow)}}) {
        c.set(GrassFlowers, x - 1, y, petal);
        c.set(GrassFlowers, x + 1, y, petal);
        c.set(GrassFlowers, x, y - 1, petal);
        c.set(GrassFlowers, x, y + 1, petal);
        c.set(GrassFlowers, x, y, kYellow == Colour(petal) ? kRed : kYellow);
    }
    c.texture(GrassTuft, kGrass, kGrassLight, kGrassDark, 20);
    for (int x : {1, 3, 5}) {
        c.set(GrassTuft, x, 5, kGrassDark);
        c.set(GrassTuft, x + 1, 4, kGrassDark);
        c.set(GrassTuft, x + 1, 6, kGrassDark);
    }
    c.texture(Path, kSand, 0xe6c896, kSandDark);
    c.texture(PathPebbles, kSand, 0xe6c896, kSandDark, 20);
    for (auto [x, y] : {std::array<int, 2>{1, 1}, {5, 2}, {3, 5}, {6, 6}}) {
        c.set(PathPebbles, x, y, kStone);
        c.set(PathPebbles, x + 1, y, kStoneDark);
    }
    c.texture(Cobbles, kStone, kStoneLight, kStoneDark, 30);
    for (int i = 0; i < kTileSize; ++i) {
        c.set(Cobbles, i, 3, kStoneDark);
        c.set(Cobbles, i, 7, kStoneDark);
        c.set(Cobbles, (i < 4 ? 1 : 5), i, kStoneDark);
    }
    c.texture(Sand, 0xf0dca0, 0xfff0c8, 0xd8c080);
    c.texture(Snow, 0xf4f8ff, 0xffffff, 0xc8d8f0);
    c.texture(Lava, 0xe65100, kGold, 0x8d1c00, 60);
    c.texture(Ice, 0xb3e5fc, 0xffffff, 0x81d4fa);
    for (int i = 1; i < 7; ++i) c.set(Ice, i, 7 - i, kWhite);
    c.texture(Soil, 0x6d4c41, 0x8d6e63, 0x4e342e);
    for (int x = 0; x < kTileSize; ++x) c.set(Soil, x, 3, 0x3e2723), c.set(Soil, x, 7, 0x3e2723);
    c.copy(Soil, Wheat);
    for (int x : {1, 4, 6})
        for (int y = 0; y < 7; ++y) c.set(Wheat, x, y, y < 3 ? kGold : 0x9e9d24);
}

void drawWaterTiles(SheetCanvas& c) {
    c.texture(Water, kWater, kWaterLight, 0x1f4fa8, 25);
    c.copy(Water, WaterWave);
    for (int x = 1; x < 7; ++x) c.set(WaterWave, x, (x % 3 == 0) ? 2 : 3, kFoam);
    for (int x = 0; x < 4; ++x) c.set(WaterWave, x + 3, (x % 3 == 0) ? 5 : 6, kWaterLight);
    for (int y = 0; y < kTileSize; ++y)
        for (int x = 0; x < kTileSize; ++x) {
            const Colour water = c.get(Water, x, y);
            const Colour grass = c.get(Grass, x, y);
            c.set(ShoreNorth, x, y, y < 2 ? grass : y == 2 ? kFoam : water);
            c.set(ShoreSouth, x, y, y > 5 ? grass : y == 5 ? kFoam : water);
            c.set(ShoreWest, x, y, x < 2 ? grass : x == 2 ? kFoam : water);
            c.set(ShoreEast, x, y, x > 5 ? grass : x == 5 ? kFoam : water);
        }
    c.copy(Water, LilyPad);
    for (int y = 2; y < 7; ++y)
        for (int x = 1; x < 6; ++x)
            if ((x - 3) * (x - 3) + (y - 4) * (y - 4) <= 5 && !(x == 3 && y < 4)) c.set(LilyPad, x, y, 0x43a047);
    c.set(LilyPad, 5, 2, 0xf48fb1);
    c.fill(Bridge, kWood);
    for (int y = 0; y < kTileSize; ++y) {
        c.set(Bridge, 0, y, kWoodDark);
        c.set(Bridge, 7, y, kWoodDark);
        c.set(Bridge, 3, y, (y % 4 == 1) ? kWoodDark : 0xa0703c);
        c.set(Bridge, 5, y, (y % 4 == 3) ? kWoodDark : 0xa0703c);
    }
}

// A round thing centred in the tile over grass.
void drawRoundOnGrass(SheetCanvas& c, int tile, double cx, double cy, double r, Colour body, Colour shine) {
    c.copy(Grass, tile);
    for (int y = 0; y < kTileSize; ++y)
        for (int x = 0; x < kTileSize; ++x) {
            const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            if (dx * dx + dy * dy <= r * r) c.set(tile, x, y, (dx < -0.5 && dy < -0.5) ? shine : body);
        }
}

void drawPlantAndRockTiles(SheetCanvas& c) {
    drawRoundOnGrass(c, Tree, 4, 3.5, 3.3, 0x1b5e20, 0x388e3c);
    c.set(Tree, 3, 7, kWoodDark), c.set(Tree, 4, 7, kWood), c.set(Tree, 3, 6, kWoodDark), c.set(Tree, 4, 6, kWood);
    drawRoundOnGrass(c, Bush, 4, 5, 2.8, 0x2e7d32, 0x66bb6a);
    c.set(Bush, 3, 4, kRed), c.set(Bush, 5, 6, kRed);
    drawRoundOnGrass(c, Rock, 4, 5, 2.6, kStone, kStoneLight);
    c.set(Rock, 5, 6, kStoneDark), c.set(Rock, 6, 5, kStoneDark);
    c.copy(Grass, Mushroom);
    for (int x = 1; x < 7; ++x) c.set(Mushroom, x, 3, kRed), c.set(Mushroom, x, 2, x > 1 && x < 6 ? kRed : kGrass);
    c.set(Mushroom, 2, 2, kWhite), c.set(Mushroom, 5, 3, kWhite);
    for (int y = 4; y < 7; ++y) c.set(Mushroom, 3, y, 0xfff3e0), c.set(Mushroom, 4, y, 0xfff3e0);
}

void drawBuildingTiles(SheetCanvas& c) {
    for (int y = 0; y < kTileSize; ++y)
        for (int x = 0; x < kTileSize; ++x) {
            const bool mortar = y % 4 == 3 || x == ((y / 4) % 2 == 0 ? 0 : 4);
            const unsigned s = speckle(Bricks, x, y);
            c.set(Bricks, x, y, mortar ? kMortar : s < 40 ? 0x8e3424 : kBrick);
        }
    c.texture(StoneWall, kStone, kStoneLight, kStoneDark, 30);
    for (int x = 0; x < kTileSize; ++x) c.set(StoneWall, x, 0, kStoneDark), c.set(StoneWall, x, 4, kStoneDark);
    c.set(StoneWall, 3, 1, kStoneDark), c.set(StoneWall, 3, 2, kStoneDark), c.set(StoneWall, 3, 3, kStoneDark);
    c.set(StoneWall, 6, 5, kStoneDark), c.set(StoneWall, 6, 6, kStoneDark), c.set(StoneWall, 6, 7, kStoneDark);
    for (int y = 0; y < kTileSize; ++y)
        for (int x = 0; x < kTileSize; ++x) {
            const bool edge = (y % 3 == 2) || ((x + (y / 3) * 2) % 4 == 0 && y % 3 == 1);
            c.set(Roof, x, y, edge ? 0x5d1a12 : (y % 3 == 0 ? 0xa83a2a : 0x8b2c1e));
        }
    c.copy(Bricks, Door);
    for (int y = 1; y < kTileSize; ++y)
        for (int x = 1; x < 7; ++x) c.set(Door, x, y, (x == 1 || x == 6 || y == 1) ? kWoodDark : kWood);
    c.set(Door, 5, 4, kGold);
    c.copy(Bricks, Window);
    for (int y = 1; y < 7; ++y)
        for (int x = 1; x < 7; ++x)
            c.set(Window, x, y, (x == 1 || x == 6 || y == 1 || y == 6 || x == 3 || y == 3) ? kWhite : 0x4fc3f7);
    c.set(Window, 2, 2, 0xe1f5fe);
    c.copy(Grass, Fence);
    for (int x = 0; x < kTileSize; ++x) c.set(Fence, x, 3, kWood), c.set(Fence, x, 5, kWoodDark);
    for (int y = 1; y < 7; ++y) c.set(Fence, 1, y, kWood), c.set(Fence, 6, y, kWood);
    c.copy(Grass, SignPost);
    for (int y = 1; y < 4; ++y)
        for (int x = 1; x < 7; ++x) c.set(SignPost, x, y, (y == 2 && x > 1 && x < 6) ? kWoodDark : 0xc19a6b);
    for (int y = 4; y < kTileSize; ++y) c.set(SignPost, 3, y, kWoodDark), c.set(SignPost, 4, y, kWood);
    c.copy(Grass, LampPost);
    for (int y = 3; y < kTileSize; ++y) c.set(LampPost, 4, y, 0x37474f);
    for (int y = 0; y < 3; ++y)
        for (int x = 3; x < 6; ++x) c.set(LampPost, x, y, y == 0 ? 0x37474f : 0xfff59d);
}

void drawGlyphTiles(SheetCanvas& c) {
    for (std::size_t i = 0; i < kGlyphs.size(); ++i) {
        const int tile = kFirstGlyphTile + static_cast<int>(i);
        const bool picture = i >= kGlyphOrder.size();
        c.fill(tile, kNavy);
        for (int x = 0; x < kTileSize; ++x) c.set(tile, x, 7, 0x2c3e6a);
        static constexpr Colour kPictureColours[] = {kRed, kYellow, kGold, 0xffb74d, 0x4dd0e1, 0xce93d8};
        const Colour ink = picture ? kPictureColours[i - kGlyphOrder.size()] : kWhite;
        c.stencil(tile, 1, 0, kGlyphs[i], ink);
    }
}

// Eight patterns in two colour pairs per sheet row, three rows.
void drawPatternTiles(SheetCanvas& c) {
    static constexpr std::array<std::array<Colour, 2>, 6> kPairs = {{
        {0x00897b, 0xb2dfdb}, {0x5e35b1, 0xd1c4e9}, {0xef6c00, 0xffe0b2},
        {0xc2185b, 0xf8bbd0}, {0x1565c0, 0xbbdefb}, {0x558b2f, 0xdcedc8},
    }};
    for (int i = 0; i < 48; ++i) {
        const int tile = kFirstPatternTile + i;
        const auto& pair = kPairs[i / 8];
        for (int y = 0; y < kTileSize; ++y)
            for (int x = 0; x < kTileSize; ++x) {
                bool on = false;
                switch (i % 8) {
                case 0: on = ((x / 2) + (y / 2)) % 2 == 0; break;
                case 1: on = y % 2 == 0; break;
                case 2: on = x % 2 == 0; break;
                case 3: on = (x + y) % 4 < 2; break;
                case 4: on = x % 3 == 1 && y % 3 == 1; break;
                case 5: on = x == 3 || x == 4 || y == 3 || y == 4; break;
                case 6: on = std::abs(x - 3.5) + std::abs(y - 3.5) <= 3.0; break;
                default: on = (y + (x % 4 < 2 ? 0 : 1)) % 3 == 0; break;
                }
                c.set(tile, x, y, on ? pair[0] : pair[1]);
            }
    }
}

Colour hueColour(int hue, int shade) {
    const double h = hue / 16.0 * 6.0;
    const double f = h - std::floor(h);
    double r = 0, g = 0, b = 0;
    switch (static_cast<int>(h) % 6) {
    case 0: r = 1, g = f; break;
    case 1: r = 1 - f, g = 1; break;
    case 2: g = 1, b = f; break;
    case 3: g = 1 - f, b = 1; break;
    case 4: r = f, b = 1; break;
    default: r = 1, b = 1 - f; break;
    }
    const Colour pure = static_cast<Colour>(std::lround(r * 255)) << 16 |
                        static_cast<Colour>(std::lround(g * 255)) << 8 | static_cast<Colour>(std::lround(b * 255));
    // Shades 0..3 run from pastel to the pure hue, 4..7 darken it.
    return shade < 4 ? mix(0xffffff, pure, 0.25 + shade * 0.25) : mix(pure, 0x000000, (shade - 3) * 0.18);
}

void drawSwatchTiles(SheetCanvas& c) {
    for (int shade = 0; shade < 8; ++shade)
        for (int hue = 0; hue < 16; ++hue) {
            const int tile = swatchTile(hue, shade);
            const Colour face = hueColour(hue, shade);
            const Colour light = mix(face, 0xffffff, 0.45), dark = mix(face, 0x000000, 0.4);
            for (int y = 0; y < kTileSize; ++y)
                for (int x = 0; x < kTileSize; ++x)
                    c.set(tile, x, y, (x == 0 || y == 0) ? light : (x == 7 || y == 7) ? dark : face);
        }
}

bool sameTile(const Picture& p, int a, int b) {
    for (int y = 0; y < kTileSize; ++y) {
        const auto row = [&](int tile) {
            const std::size_t py = static_cast<std::size_t>(tile / kSheetColumns * kTileSize + y);
            return &p.pixels[py * p.width + (tile % kSheetColumns) * kTileSize];
        };
        if (std::memcmp(row(a), row(b), kTileSize * sizeof(Colour)) != 0) return false;
    }
    return true;
}

// Every tile must be told apart on the sheet; a drawing slip that repeats one is caught here.
void requireDistinctTiles(const Picture& p) {
    constexpr int count = kSheetColumns * kSheetRows;
    for (int a = 0; a < count; ++a)
        for (int b = a + 1; b < count; ++b)
            if (sameTile(p, a, b))
                throw std::logic_error("tiles " + std::to_string(a) + " and " + std::to_string(b) + " are the same");
}

}  // namespace

std::uint16_t glyphTile(char c) {
    const auto at = kGlyphOrder.find(c);
    if (at == std::string_view::npos) throw std::invalid_argument(std::string("no glyph for ") + c);
    return static_cast<std::uint16_t>(kFirstGlyphTile + at);
}

std::uint16_t iconTile(Icon icon) {
    return static_cast<std::uint16_t>(kFirstGlyphTile + kGlyphOrder.size() + static_cast<int>(icon));
}

std::uint16_t swatchTile(int hue, int shade) {
    return static_cast<std::uint16_t>(kFirstSwatchTile + (shade % 8) * kSheetColumns + (hue % 16));
}

Picture drawDemoSheet() {
    SheetCanvas canvas;
    drawGroundTiles(canvas);
    drawWaterTiles(canvas);
    drawPlantAndRockTiles(canvas);
    drawBuildingTiles(canvas);
    drawGlyphTiles(canvas);
    drawPatternTiles(canvas);
    drawSwatchTiles(canvas);
    Picture picture = canvas.take();
    requireDistinctTiles(picture);
    return picture;
}

}  // namespace demo

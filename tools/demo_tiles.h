#pragma once
// The demo tile sheet: 16 x 16 tiles of 8 x 8 pixels, drawn from code.
#include <cstdint>
#include <vector>

namespace demo {

inline constexpr int kTileSize = 8;
inline constexpr int kSheetColumns = 16;
inline constexpr int kSheetRows = 16;

// 0xRRGGBB per pixel, rows from the top.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// The tiles the demo map is built from; the sheet holds more (letters, patterns,
// colour swatches) reached through glyphTile and swatchTile.
enum Tile : std::uint16_t {
    Grass = 0, GrassFlowers, GrassTuft, Tree, Bush, Rock, Path, PathPebbles,
    Water, WaterWave, ShoreNorth, ShoreSouth, ShoreWest, ShoreEast, Bridge, LilyPad,
    Bricks = 16, StoneWall, Roof, Door, Window, Fence, SignPost, LampPost,
    Cobbles, Sand, Snow, Lava, Ice, Soil, Wheat, Mushroom,
};

// The tile showing a character of "0-9A-Z !?.-:" (upper case), white on navy.
std::uint16_t glyphTile(char c);
enum class Icon { Heart, Star, Coin, Key, Gem, Note };
std::uint16_t iconTile(Icon icon);
// A bevelled swatch: hue 0..15, shade 0 (light) .. 7 (dark).
std::uint16_t swatchTile(int hue, int shade);

Picture drawDemoSheet();

}  // namespace demo

#pragma once
// The map view's zoom levels: `pixels` screen pixels show `cells` map cells along each
// axis. 16 pixels a cell is the start-up size; below one pixel a cell, a screen pixel
// shows one cell of its square.
#include <array>

namespace ui {

struct ZoomLevel {
    int pixels = 16;
    int cells = 1;
    bool operator==(const ZoomLevel&) const = default;
};

inline constexpr std::array<ZoomLevel, 16> kZoomLevels{{{64, 1}, {48, 1}, {32, 1}, {24, 1}, {16, 1}, {12, 1}, {8, 1},
                                                        {6, 1}, {4, 1}, {3, 1}, {2, 1}, {1, 1}, {1, 2}, {1, 4},
                                                        {1, 8}, {1, 16}}};
// The start-up level, 16 pixels a cell.
inline constexpr int kStartZoom = 4;
// Tile numbers are drawn from this many pixels a cell, borders from kBorderPixels.
inline constexpr int kNumberPixels = 16;
inline constexpr int kBorderPixels = 4;

}  // namespace ui

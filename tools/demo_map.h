#pragma once
// The demo map: a small village by a river, drawn with the demo sheet's tiles.
#include <cstdint>
#include <vector>

namespace demo {

inline constexpr int kMapWidth = 32;
inline constexpr int kMapHeight = 24;

// cells[row][column]
using MapCells = std::vector<std::vector<std::uint16_t>>;

MapCells drawDemoMap();

}  // namespace demo

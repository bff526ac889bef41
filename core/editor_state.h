#pragma once
// The document: the editor state of the main window, as plain fields.
#include <cstdint>
#include <string>
#include <vector>

#include "core/bmp.h"

namespace core {

using Cell = std::uint16_t;
using MapRow = std::vector<Cell>;
// Map[row][column]; every row is an array of its own.
using TileMap = std::vector<MapRow>;

inline constexpr std::int32_t kMaxMapSize = 4096;

// Fields in their declared order, with their start-up values.
struct EditorState {
    std::string MapName = "Default";
    TileMap Map = TileMap(32, MapRow(32, 0));
    std::int32_t MapWidth = 32;
    std::int32_t MapHeight = 32;
    std::int32_t SelectedTile = 1;
    Bitmap TileSheet;
    std::int32_t SheetColumns = 0;
    std::string ImagePath;
    std::string ProjectPath;
    bool Modified = false;
};

}  // namespace core

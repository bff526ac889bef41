#pragma once
// The document: the editor state of the main window, as plain fields.
#include <cstdint>
#include <string>

#include "core/bmp/bmp.h"
#include "core/map/tile_map.h"

namespace core {

inline constexpr std::int32_t kMaxMapSize = 4096;

// The start-up values, which the windows' first texts show as well.
inline constexpr std::int32_t kStartMapWidth = 32;
inline constexpr std::int32_t kStartMapHeight = 32;
inline constexpr char kStartMapName[] = "Default";
inline constexpr std::int32_t kStartSelectedTile = 1;
inline constexpr std::int32_t kStartSheetColumns = 0;

// Fields in their declared order, with their start-up values; a fresh EditorState is
// the document the main window's creation sets up.
struct EditorState {
    std::string MapName = kStartMapName;
    TileMap Map = TileMap(kStartMapHeight, kStartMapWidth);
    std::int32_t MapWidth = kStartMapWidth;
    std::int32_t MapHeight = kStartMapHeight;
    std::int32_t SelectedTile = kStartSelectedTile;
    Bitmap TileSheet;
    std::int32_t SheetColumns = kStartSheetColumns;
    std::string ImagePath;
    // The file system's own bytes, not code page 932: no file ever holds it.
    std::string ProjectPath;
    bool Modified = false;
};

}  // namespace core

#pragma once
// The two edits that change the map's contents: stamping the brush block at one
// cell and filling every cell with the selected tile.
#include <cstdint>

#include "core/map/editor_state.h"
#include "core/map/map_edit.h"
#include "core/map/tile_geometry.h"

namespace core {

// The cells a stamp at grid cell (ACol, ARow) may write: the block clipped to the map.
CellArea stampArea(const EditorState& state, std::int32_t ACol, std::int32_t ARow, std::int32_t blockWidth,
                   std::int32_t blockHeight);

// What the stamp at grid cell (ACol, ARow) is about to change, known before it runs.
MapChange plannedStamp(const EditorState& state, std::int32_t ACol, std::int32_t ARow, std::int32_t blockWidth,
                       std::int32_t blockHeight);

// Writes the block whose top-left tile is SelectedTile with its top-left corner at
// grid cell (ACol, ARow), i.e. map cell (ACol - 1, ARow - 1). Block cells beyond the
// map are skipped before the tile limit is looked at; a tile at or past the limit
// ends its block row only. Stores the low 16 bits.
MapChange stampBlock(EditorState& state, std::int32_t ACol, std::int32_t ARow, std::int32_t blockWidth,
                     std::int32_t blockHeight, std::int32_t sheetTileCount);

// What a fill is about to change: every cell.
MapChange plannedFill(const TileMap& map);
// Every cell of every row takes the low 16 bits of SelectedTile.
MapChange fillMap(EditorState& state);

}  // namespace core

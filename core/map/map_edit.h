#pragma once
// What an edit of the map did. Every change of the map's cells or size returns one,
// so that the main window marks the document and repaints in one place, and a
// history can keep the cells an edit is about to change: a stamp's area and a
// fill's whole map are known before the edit, a resize cuts the cells of its old
// size that lie outside the new one.
#include <cstdint>

#include "core/map/editor_state.h"

namespace core {

// Map cells: columns left .. left + width - 1 of rows top .. top + height - 1.
struct CellArea {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    bool empty() const { return width <= 0 || height <= 0; }
    bool operator==(const CellArea&) const = default;
};

// Columns and rows of the map.
struct MapSize {
    std::int32_t width = 0;
    std::int32_t height = 0;

    bool operator==(const MapSize&) const = default;
};

enum class MapEdit {
    Stamp,    // the brush block at one cell
    Fill,     // every cell with the selected tile
    Resize,   // a size operation, also to the size the map already has
    Replace,  // a whole new document: an opened project
};

struct MapChange {
    MapEdit edit = MapEdit::Stamp;
    CellArea cells;  // the cells that may hold new values; after a resize or a replace, the whole map
    MapSize before;  // the map's own size before and after the edit
    MapSize after;
};

// Whether the edit leaves unsaved changes: a stamp does also when it stored nothing
// and a resize also to the same size; a fill does not, and an opened project starts
// out saved.
bool marksModified(const MapChange& change);

// The map's own size: its rows and the cells of its first row.
MapSize sizeOf(const TileMap& map);
// Every cell of the map.
CellArea wholeMap(const TileMap& map);

}  // namespace core

#pragma once
// A rectangle of cells to export instead of the whole map.
#include <cstdint>
#include <string>

#include "core/map/editor_state.h"

namespace core {

struct CellRegion {
    std::int64_t x = 0;
    std::int64_t y = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
};

// Whether the region holds at least one cell and lies wholly inside the map.
bool regionInside(const CellRegion& region, const EditorState& state);

// Makes the document a map of only the region's cells, in place: the export of the
// result is exactly that of a map that holds only those cells. The region must lie
// inside the map.
void cropToRegion(EditorState& state, const CellRegion& region);

}  // namespace core

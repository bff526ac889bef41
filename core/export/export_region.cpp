#include "core/export/export_region.h"

#include <algorithm>

namespace core {

bool regionInside(const CellRegion& region, const EditorState& state) {
    const auto columns = static_cast<std::int64_t>(state.Map.columns());
    const auto rows = static_cast<std::int64_t>(state.Map.size());
    return region.x >= 0 && region.y >= 0 && region.width >= 1 && region.height >= 1 &&
           region.x + region.width <= columns && region.y + region.height <= rows;
}

void cropToRegion(EditorState& state, const CellRegion& region) {
    const auto x = static_cast<std::size_t>(region.x), y = static_cast<std::size_t>(region.y);
    const auto width = static_cast<std::size_t>(region.width), height = static_cast<std::size_t>(region.height);
    // Row y + r moves to row r: never to the right of where it was, so a forward copy
    // reads each cell before anything is written over it.
    for (std::size_t r = 0; r < height; ++r) {
        const ConstMapRow from = state.Map[y + r];
        std::copy(from.begin() + static_cast<std::ptrdiff_t>(x), from.begin() + static_cast<std::ptrdiff_t>(x + width),
                  state.Map[r].begin());
    }
    state.Map.resize(height, width);
    state.MapWidth = static_cast<std::int32_t>(width);
    state.MapHeight = static_cast<std::int32_t>(height);
}

}  // namespace core

#include "core/map/stamp.h"

#include <algorithm>

#include "core/map/wrapping_arithmetic.h"

namespace core {

namespace {

// How many of `count` block cells starting at map index `first` lie before `limit`.
// Cells past the limit are skipped anyway, so the loops stop there; this also keeps
// a huge typed brush size from running billions of empty rounds.
std::int64_t cellsInside(std::int64_t first, std::int64_t count, std::int64_t limit) {
    if (count <= 0 || first >= limit) return 0;
    return std::min(count, limit - first);
}

// The array's own size bounds the writes as well, should it ever disagree with
// MapWidth / MapHeight.
std::int64_t rowsInside(const EditorState& state) {
    return std::min<std::int64_t>(state.MapHeight, static_cast<std::int64_t>(state.Map.size()));
}
std::int64_t columnsInside(const EditorState& state, ConstMapRow row) {
    return std::min<std::int64_t>(state.MapWidth, static_cast<std::int64_t>(row.size()));
}

void stampRow(MapRow row, std::int64_t x0, std::int64_t columns, std::int32_t firstTile,
              std::int32_t tileCount) {
    for (std::int64_t k = 0; k < columns; ++k) {
        const std::int32_t tile = wrapped(std::int64_t{firstTile} + k);
        if (tile >= tileCount) return;
        row[static_cast<std::size_t>(x0 + k)] = static_cast<Cell>(tile);
    }
}

}  // namespace

CellArea stampArea(const EditorState& state, std::int32_t ACol, std::int32_t ARow, std::int32_t blockWidth,
                   std::int32_t blockHeight) {
    const std::int64_t x0 = std::int64_t{ACol} - 1;
    const std::int64_t y0 = std::int64_t{ARow} - 1;
    // The event fires for data cells only; a cell left of or above the map holds nothing.
    if (x0 < 0 || y0 < 0) return {};
    const std::int64_t rows = cellsInside(y0, blockHeight, rowsInside(state));
    if (rows == 0) return {};
    const std::int64_t columns = cellsInside(x0, blockWidth, columnsInside(state, state.Map[static_cast<std::size_t>(y0)]));
    return {static_cast<std::int32_t>(x0), static_cast<std::int32_t>(y0), static_cast<std::int32_t>(columns),
            static_cast<std::int32_t>(rows)};
}

MapChange plannedStamp(const EditorState& state, std::int32_t ACol, std::int32_t ARow, std::int32_t blockWidth,
                       std::int32_t blockHeight) {
    const MapSize size = sizeOf(state.Map);
    return {MapEdit::Stamp, stampArea(state, ACol, ARow, blockWidth, blockHeight), size, size};
}

MapChange stampBlock(EditorState& state, std::int32_t ACol, std::int32_t ARow, std::int32_t blockWidth,
                     std::int32_t blockHeight, std::int32_t sheetTileCount) {
    const MapChange change = plannedStamp(state, ACol, ARow, blockWidth, blockHeight);
    const CellArea& area = change.cells;
    for (std::int32_t r = 0; r < area.height; ++r) {
        const MapRow row = state.Map[static_cast<std::size_t>(area.top + r)];
        const std::int32_t firstTile = wrapped(state.SelectedTile + std::int64_t{state.SheetColumns} * r);
        stampRow(row, area.left, cellsInside(area.left, blockWidth, columnsInside(state, row)), firstTile,
                 sheetTileCount);
    }
    return change;
}

MapChange plannedFill(const TileMap& map) {
    const MapSize size = sizeOf(map);
    return {MapEdit::Fill, wholeMap(map), size, size};
}

MapChange fillMap(EditorState& state) {
    const auto tile = static_cast<Cell>(state.SelectedTile);
    for (const MapRow row : state.Map) std::fill(row.begin(), row.end(), tile);
    return plannedFill(state.Map);
}

}  // namespace core

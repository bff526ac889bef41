#include "core/map/map_revision.h"

#include <algorithm>
#include <new>

#include "core/map/size_fields.h"
#include "core/text/failures.h"

namespace core {

namespace {

CellArea cutToMap(CellArea area, MapSize map) {
    const std::int32_t left = std::clamp(area.left, 0, map.width);
    const std::int32_t top = std::clamp(area.top, 0, map.height);
    const std::int32_t right = std::clamp(area.left + std::max(area.width, 0), left, map.width);
    const std::int32_t bottom = std::clamp(area.top + std::max(area.height, 0), top, map.height);
    return {left, top, right - left, bottom - top};
}

}  // namespace

CellPatch CellPatch::capture(const TileMap& map, CellArea area) {
    CellPatch patch;
    patch.area_ = cutToMap(area, sizeOf(map));
    if (patch.area_.empty()) {
        patch.area_ = {};
        return patch;
    }
    try {
        patch.cells_ = std::make_unique_for_overwrite<Cell[]>(patch.cellCount());
    } catch (const std::bad_alloc&) {
        throw OutOfMemoryFailure();
    }
    const auto width = static_cast<std::size_t>(patch.area_.width);
    const auto left = static_cast<std::size_t>(patch.area_.left);
    Cell* out = patch.cells_.get();
    for (std::int32_t r = 0; r < patch.area_.height; ++r, out += width)
        std::copy_n(&map[static_cast<std::size_t>(patch.area_.top + r)][left], width, out);
    return patch;
}

void CellPatch::exchange(TileMap& map) {
    const auto width = static_cast<std::size_t>(area_.width);
    const auto left = static_cast<std::size_t>(area_.left);
    Cell* kept = cells_.get();
    for (std::int32_t r = 0; r < area_.height; ++r, kept += width) {
        Cell* row = &map[static_cast<std::size_t>(area_.top + r)][left];
        std::swap_ranges(row, row + width, kept);
    }
}

MapRevision MapRevision::before(const TileMap& map, const MapChange& planned) {
    MapRevision revision;
    revision.change_ = planned;
    if (planned.edit != MapEdit::Resize) {
        revision.kept_ = CellPatch::capture(map, planned.cells);
        return revision;
    }
    // The columns beyond the new width in the rows that stay, and every row beyond
    // the new height, each as long as the rows are now.
    const MapSize from = sizeOf(map);
    const MapSize to{std::max(planned.after.width, 0), std::max(planned.after.height, 0)};
    revision.change_.before = from;
    revision.kept_ = CellPatch::capture(map, {to.width, 0, from.width - to.width, std::min(from.height, to.height)});
    revision.keptRows_ = CellPatch::capture(map, {0, to.height, from.width, from.height - to.height});
    return revision;
}

// A resize to the size the map already has changes no cell, so taking it back or
// doing it again needs nothing, not even the memory a resize reserves.
MapChange MapRevision::undo(EditorState& state) {
    if (change_.edit != MapEdit::Resize) {
        kept_.exchange(state.Map);
        return change_;
    }
    if (change_.before != change_.after) resizeMap(state, change_.before);
    kept_.exchange(state.Map);
    keptRows_.exchange(state.Map);
    return {MapEdit::Resize, wholeMap(state.Map), change_.after, change_.before};
}

MapChange MapRevision::redo(EditorState& state) {
    if (change_.edit != MapEdit::Resize) {
        kept_.exchange(state.Map);
        return change_;
    }
    // The cut cells go back into the patches before the resize drops them.
    kept_.exchange(state.Map);
    keptRows_.exchange(state.Map);
    try {
        if (change_.before != change_.after) resizeMap(state, change_.after);
    } catch (...) {
        keptRows_.exchange(state.Map);
        kept_.exchange(state.Map);
        throw;
    }
    return {MapEdit::Resize, wholeMap(state.Map), change_.before, change_.after};
}

}  // namespace core

#pragma once
// Taking an edit of the map back and doing it again. A revision keeps only what its
// edit replaces: the cells of a stamp's block or of a filled map, or the cells a
// resize cuts off. It is made just before the edit, from the change the edit is
// about to make, and exchanges cells with the map rather than copying them, so
// undoing and redoing allocate nothing but what a resize itself needs.
#include <cstddef>
#include <memory>

#include "core/map/editor_state.h"
#include "core/map/map_edit.h"

namespace core {

// The cells of one area of the map, exchanged with the map's own.
class CellPatch {
public:
    CellPatch() = default;
    // Copies the cells of `area`, cut to the map.
    static CellPatch capture(const TileMap& map, CellArea area);

    // Puts the kept cells into the map and keeps the ones they replace, so the next
    // exchange swaps them back. The area must lie inside the map.
    void exchange(TileMap& map);

    CellArea area() const { return area_; }
    std::size_t bytes() const { return cellCount() * sizeof(Cell); }

private:
    std::size_t cellCount() const {
        return static_cast<std::size_t>(area_.width) * static_cast<std::size_t>(area_.height);
    }

    CellArea area_;
    std::unique_ptr<Cell[]> cells_;  // row by row
};

class MapRevision {
public:
    // Keeps what `planned` is about to replace in `map`: for a stamp or a fill the
    // cells of planned.cells, for a resize the cells of the map's own size that lie
    // outside planned.after.
    static MapRevision before(const TileMap& map, const MapChange& planned);

    // Both give the change as the view must show it. Undoing a resize first resizes
    // the map back (a failure there changes nothing); redoing it raises whatever
    // the resize raises, and then leaves the map as it was.
    MapChange undo(EditorState& state);
    MapChange redo(EditorState& state);

    const MapChange& change() const { return change_; }
    std::size_t bytes() const { return sizeof(MapRevision) + kept_.bytes() + keptRows_.bytes(); }

private:
    MapChange change_;  // for a resize: the map's own size before and the size asked for
    CellPatch kept_;     // a stamp's or a fill's area; a resize's cut columns of the rows it keeps
    CellPatch keptRows_; // a resize's cut rows, whole
};

}  // namespace core

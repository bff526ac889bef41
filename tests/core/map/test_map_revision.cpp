// Revisions: the cells an edit replaces or cuts, kept before it and exchanged with
// the map to take the edit back and do it again, as often as the user goes back
// and forth.
#include "core/map/map_revision.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/map/size_fields.h"
#include "core/map/stamp.h"

namespace {

// Cells numbered by position, so that a cell put back in the wrong place shows.
core::EditorState numberedState(std::int32_t width, std::int32_t height) {
    core::EditorState state;
    core::resizeMap(state, {width, height});
    for (std::size_t r = 0; r < state.Map.size(); ++r)
        for (std::size_t c = 0; c < state.Map[r].size(); ++c) state.Map[r][c] = core::Cell(r * 100 + c + 1);
    return state;
}

// Edits of the map in the order made; undone in reverse and redone in order.
struct Edits {
    core::EditorState& state;
    std::vector<core::MapRevision> revisions;
    std::vector<core::EditorState> states;  // after each edit, the first one before any

    explicit Edits(core::EditorState& s) : state(s), states{s} {}

    template <typename Edit>
    void make(const core::MapChange& planned, Edit edit) {
        revisions.push_back(core::MapRevision::before(state.Map, planned));
        edit();
        states.push_back(state);
    }
    // A map without rows keeps no width of its own; the size fields' step restores
    // MapWidth for it.
    void expectState(std::size_t index) const {
        EXPECT_EQ(state.Map, states[index].Map) << "after edit " << index;
        EXPECT_EQ(state.MapHeight, states[index].MapHeight) << "after edit " << index;
        if (!state.Map.empty()) {
            EXPECT_EQ(state.MapWidth, states[index].MapWidth) << "after edit " << index;
        }
    }
    // Down to the start and back up, twice: every state on the way is the one the
    // edits went through.
    void goBackAndForth() {
        for (int round = 0; round < 2; ++round) {
            for (std::size_t i = revisions.size(); i-- > 0;) {
                revisions[i].undo(state);
                expectState(i);
            }
            for (std::size_t i = 0; i < revisions.size(); ++i) {
                revisions[i].redo(state);
                expectState(i + 1);
            }
        }
    }
};

// Stamps over stamps, cut at the edges or at the sheet's last tile, a fill, and
// resizes that cut columns, rows, both, or leave a map without cells or rows.
TEST(MapRevision, EditsGoBackAndForthExactly) {
    core::EditorState state = numberedState(12, 9);
    state.SheetColumns = 4;
    Edits edits(state);
    const auto stamp = [&](int col, int row, int width, int height, int tile) {
        state.SelectedTile = tile;
        edits.make(core::plannedStamp(state, col, row, width, height),
                   [&] { core::stampBlock(state, col, row, width, height, 16); });
    };
    const auto resize = [&](core::MapSize size) {
        edits.make(core::plannedResize(state.Map, size), [&] { core::resizeMap(state, size); });
    };
    stamp(2, 2, 3, 3, 1);
    stamp(3, 3, 3, 3, 5);
    stamp(11, 8, 4, 4, 2);
    stamp(1, 1, 2, 2, 15);
    resize({5, 9});
    resize({5, 4});
    state.SelectedTile = 70000;
    edits.make(core::plannedFill(state.Map), [&] { core::fillMap(state); });
    resize({14, 4});
    stamp(12, 3, 3, 3, 3);
    resize({3, 11});
    resize({3, 11});
    resize({0, 11});
    resize({7, 0});
    resize({6, 6});
    edits.goBackAndForth();
}

// A revision holds what its edit replaces and no more.
TEST(MapRevision, KeepsOnlyTheReplacedCells) {
    core::EditorState state = numberedState(64, 64);
    const auto heldCells = [](const core::MapRevision& revision) {
        return (revision.bytes() - sizeof(core::MapRevision)) / sizeof(core::Cell);
    };
    EXPECT_EQ(heldCells(core::MapRevision::before(state.Map, core::plannedStamp(state, 1, 1, 32, 32))), 32u * 32u);
    EXPECT_EQ(heldCells(core::MapRevision::before(state.Map, core::plannedStamp(state, 60, 1, 32, 32))), 5u * 32u);
    EXPECT_EQ(heldCells(core::MapRevision::before(state.Map, core::plannedFill(state.Map))), 64u * 64u);
    EXPECT_EQ(heldCells(core::MapRevision::before(state.Map, core::plannedResize(state.Map, {60, 64}))), 4u * 64u);
    EXPECT_EQ(heldCells(core::MapRevision::before(state.Map, core::plannedResize(state.Map, {64, 63}))), 64u);
    EXPECT_EQ(heldCells(core::MapRevision::before(state.Map, core::plannedResize(state.Map, {4096, 4096}))), 0u);
}

}  // namespace

// Stamping the brush block and filling the map, on the 32 x 16 sheet (four tiles
// per sheet row, eight tiles) unless a case says otherwise.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "core/map/stamp.h"

namespace {

constexpr std::int32_t kSheetTiles = 8;  // 32 x 16 pixels

core::EditorState stateWithSheet(std::int32_t selectedTile) {
    core::EditorState state;
    state.SheetColumns = 4;
    state.SelectedTile = selectedTile;
    return state;
}

// The top-left `rows` x `columns` cells of the map.
core::TileMap corner(const core::EditorState& state, std::size_t rows, std::size_t columns) {
    core::TileMap cells(rows, columns);
    for (std::size_t r = 0; r < rows; ++r) std::copy_n(state.Map[r].begin(), columns, cells[r].begin());
    return cells;
}

int changedCells(const core::EditorState& state) {
    int changed = 0;
    for (const auto& row : state.Map)
        for (auto cell : row) changed += cell != 0;
    return changed;
}

TEST(Stamp, SheetExamples) {
    auto single = stateWithSheet(5);
    const core::MapChange change = core::stampBlock(single, 3, 2, 1, 1, kSheetTiles);
    EXPECT_EQ(single.Map[1][2], 5);
    EXPECT_EQ(changedCells(single), 1);
    EXPECT_TRUE(core::marksModified(change));
    EXPECT_EQ(change.cells, (core::CellArea{2, 1, 1, 1}));

    // Block row 0 runs on into the next sheet row; block row 1 stops at tile 8.
    auto wide = stateWithSheet(2);
    core::stampBlock(wide, 1, 1, 3, 2, kSheetTiles);
    EXPECT_EQ(corner(wide, 2, 3), (core::TileMap{{2, 3, 4}, {6, 7, 0}}));
    EXPECT_EQ(changedCells(wide), 5);

    // Block row 1 starts at 10, past the limit, and stores nothing.
    auto late = stateWithSheet(6);
    core::stampBlock(late, 1, 1, 3, 2, kSheetTiles);
    EXPECT_EQ(corner(late, 1, 2), (core::TileMap{{6, 7}}));
    EXPECT_EQ(changedCells(late), 2);
}

TEST(Stamp, LimitStopsOnlyItsBlockRow) {
    // One sheet column: block row r starts at tile 1 + r, row 0 stops after 7 tiles.
    auto state = stateWithSheet(1);
    state.SheetColumns = 1;
    core::stampBlock(state, 1, 1, 10, 3, kSheetTiles);
    EXPECT_EQ(corner(state, 3, 8),
              (core::TileMap{{1, 2, 3, 4, 5, 6, 7, 0}, {2, 3, 4, 5, 6, 7, 0, 0}, {3, 4, 5, 6, 7, 0, 0, 0}}));
    EXPECT_EQ(changedCells(state), 7 + 6 + 5);
}

TEST(Stamp, ClipsAtTheRightAndBottomEdges) {
    auto lastColumn = stateWithSheet(0);
    // The area is the block clipped to the map: what a stamp may change.
    EXPECT_EQ(core::stampBlock(lastColumn, 32, 1, 4, 4, kSheetTiles).cells, (core::CellArea{31, 0, 1, 4}));
    // Only the first block column lies inside; rows 0 and 1 hold tiles below 8.
    EXPECT_EQ(lastColumn.Map[0][31], 0);
    EXPECT_EQ(lastColumn.Map[1][31], 4);
    EXPECT_EQ(changedCells(lastColumn), 1);

    auto bottomRight = stateWithSheet(1);
    EXPECT_EQ(core::stampArea(bottomRight, 31, 31, 40, 40), (core::CellArea{30, 30, 2, 2}));
    core::stampBlock(bottomRight, 31, 31, 40, 40, 1000);
    EXPECT_EQ(bottomRight.Map[30][30], 1);
    EXPECT_EQ(bottomRight.Map[30][31], 2);
    EXPECT_EQ(bottomRight.Map[31][30], 5);
    EXPECT_EQ(bottomRight.Map[31][31], 6);
    EXPECT_EQ(changedCells(bottomRight), 4);

    // Bounds come before the limit: a cell outside the map never ends a row early.
    auto outside = stateWithSheet(0);
    const core::MapChange nothing = core::stampBlock(outside, 33, 1, 3, 3, kSheetTiles);
    EXPECT_EQ(changedCells(outside), 0);
    EXPECT_TRUE(nothing.cells.empty());
    EXPECT_TRUE(core::marksModified(nothing));
}

TEST(Stamp, StoresNothingButSetsModifiedWithoutTiles) {
    for (auto [width, height, tiles] : {std::tuple{1, 1, 0}, {0, 5, 8}, {5, 0, 8}, {-3, -3, 8}}) {
        auto state = stateWithSheet(1);
        const core::MapChange change = core::stampBlock(state, 1, 1, width, height, tiles);
        EXPECT_EQ(changedCells(state), 0) << width << "x" << height << " tiles " << tiles;
        EXPECT_TRUE(core::marksModified(change));
    }
}

TEST(Stamp, NegativeAndLargeTilesKeepTheLow16Bits) {
    auto negative = stateWithSheet(-1);
    negative.Map[0][1] = 9;
    core::stampBlock(negative, 1, 1, 2, 1, kSheetTiles);
    EXPECT_EQ(negative.Map[0][0], 65535);
    EXPECT_EQ(negative.Map[0][1], 0);

    auto big = stateWithSheet(70000);
    core::stampBlock(big, 1, 1, 1, 1, 100000);
    EXPECT_EQ(big.Map[0][0], 4464);
}

TEST(Stamp, ExtremeBrushAndTileValuesStayInsideTheMap) {
    // The tile number wraps like 32-bit arithmetic and the block is clipped before
    // its size matters: neither may reach outside the map or take forever.
    auto state = stateWithSheet(INT_MAX);
    state.SheetColumns = 1;
    state.Map = core::TileMap(32, 32, 7);
    core::stampBlock(state, 1, 1, INT_MAX, INT_MAX, INT_MAX);
    EXPECT_EQ(state.Map[0][0], 7);  // INT_MAX is at the limit: row 0 stores nothing
    // Row 1 starts at INT_MAX + 1, which wraps to INT_MIN and passes the limit.
    EXPECT_EQ(state.Map[1][0], 0);
    EXPECT_EQ(state.Map[1][1], 1);
    EXPECT_EQ(state.Map[31][31], static_cast<core::Cell>(INT_MIN + 30 + 31));

    // A map array smaller than MapWidth / MapHeight say is not written past its end.
    auto small = stateWithSheet(1);
    small.Map = core::TileMap(2, 3);
    core::stampBlock(small, 1, 1, 32, 32, 1 << 20);
    EXPECT_EQ(small.Map, (core::TileMap{{1, 2, 3}, {5, 6, 7}}));
}

TEST(Fill, WritesEveryCellWithoutModified) {
    core::EditorState state;
    state.SelectedTile = 70000;
    const core::MapChange change = core::fillMap(state);
    for (const auto& row : state.Map)
        for (auto cell : row) ASSERT_EQ(cell, 4464);
    EXPECT_FALSE(core::marksModified(change));
    EXPECT_EQ(change.cells, (core::CellArea{0, 0, 32, 32}));

    // The map's own size counts, should MapWidth / MapHeight say otherwise.
    state.Map = core::TileMap(2, 5, 9);
    state.SelectedTile = -2;
    core::fillMap(state);
    EXPECT_EQ(state.Map, core::TileMap(2, 5, 65534));
}

TEST(Fill, LargestMap) {
    core::EditorState state;
    state.Map = core::TileMap(4096, 4096, 3);
    state.SelectedTile = 1;
    core::fillMap(state);
    long long total = 0;
    for (const auto& row : state.Map)
        for (auto cell : row) total += cell;
    EXPECT_EQ(total, 4096LL * 4096);
}

}  // namespace

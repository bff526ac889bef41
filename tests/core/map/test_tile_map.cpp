// The map's rows as one block: what every reader and writer of Map[row][column]
// relies on, at the sizes where the block changes its kind (small, huge pages). Rows
// without cells and maps without rows are the size fields' and the exports' cases.
#include "core/map/tile_map.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <string>

namespace {

using core::TileMap;

// Cells numbered by position, wrapped to 16 bits.
core::Cell numbered(std::size_t r, std::size_t c) { return static_cast<core::Cell>(r * 4096 + c + 1); }

void numberCells(TileMap& map) {
    for (std::size_t r = 0; r < map.size(); ++r)
        for (std::size_t c = 0; c < map.columns(); ++c) map[r][c] = numbered(r, c);
}

// Every cell holds its number inside `rows` x `columns`, 0 outside.
bool keptOnly(const TileMap& map, std::size_t rows, std::size_t columns) {
    for (std::size_t r = 0; r < map.size(); ++r)
        for (std::size_t c = 0; c < map.columns(); ++c)
            if (map[r][c] != (r < rows && c < columns ? numbered(r, c) : 0)) return false;
    return true;
}

TEST(TileMap, GrowingAndShrinkingKeepTheOverlapAndNewCellsAreZero) {
    TileMap map(32, 32);
    numberCells(map);
    map.resize(4096, 4096);
    EXPECT_TRUE(keptOnly(map, 32, 32));
    map.resize(40, 3000);
    EXPECT_TRUE(keptOnly(map, 32, 32));
    map[39][2999] = 1;
    map.resize(20, 20);
    map.resize(4096, 4096);
    EXPECT_TRUE(keptOnly(map, 20, 20)) << "a cell cut off came back";
}

TEST(TileMap, CopiesAreTheirOwnAndMovesLeaveNothingBehind) {
    TileMap original(4, 4);
    numberCells(original);
    TileMap copy = original;
    EXPECT_EQ(copy, original);
    original[3][3] = 0;
    EXPECT_EQ(copy[3][3], numbered(3, 3));
    EXPECT_NE(copy, original);

    // Wide rows, whose starts lie further apart than their cells reach: a map filled
    // at its making equals one filled row by row, and copies of either stay equal.
    TileMap filled(3, 1500, 9);
    TileMap grown(3, 1500);
    for (const core::MapRow row : grown) std::fill(row.begin(), row.end(), core::Cell{9});
    EXPECT_EQ(filled, grown);
    EXPECT_EQ(TileMap(grown), filled);
    grown[2][1499] = 8;
    EXPECT_NE(filled, grown);

    TileMap moved = std::move(copy);
    EXPECT_EQ(moved[3][3], numbered(3, 3));
    EXPECT_TRUE(copy.empty());
}

// What opening the largest map relies on: the change handling's resize to the size
// the map has builds nothing.
TEST(TileMap, TheLargestMapIsOneBlock) {
    TileMap map(4096, 4096, 7);
    const core::Cell* block = map[0].data();
    const std::ptrdiff_t apart = map[1].data() - block;
    EXPECT_GE(apart, 4096);
    EXPECT_EQ(map[4095].data(), block + 4095 * apart) << "the rows are not one block";
    EXPECT_NE(apart * sizeof(core::Cell) % 4096, 0u) << "rows a multiple of 4 KiB apart share their cache sets";
    map.resize(4096, 4096);
    EXPECT_EQ(map[0].data(), block) << "a resize to the same size built a new map";
    EXPECT_EQ(std::accumulate(map[4095].begin(), map[4095].end(), 0L), 7L * 4096);
}

}  // namespace

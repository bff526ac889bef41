// Cutting a sheet into tiles: truncating division and remainder, and rectangles
// that stay true for any tile number and block size.
#include "core/map/tile_geometry.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(TileGeometry, CountsAndPicksUseTruncatingDivisions) {
    EXPECT_EQ(core::sheetTileCount(1, 1), 0);
    EXPECT_EQ(core::sheetTileCount(32, 16), 8);
    EXPECT_EQ(core::sheetTileCount(39, 23), 8);
    EXPECT_EQ(core::sheetTileCount(7, 800), 0);
    EXPECT_EQ(core::sheetColumnsOf(100), 12);
    EXPECT_EQ(core::sheetColumnsOf(7), 0);
    // A 100-pixel sheet: (99, 9) lies in the partial column, which still picks.
    EXPECT_EQ(core::tileAt(99, 9, 12), 24);
    EXPECT_EQ(core::tileAt(0, 0, 0), 0);
}

TEST(TileGeometry, ATileAndABlockFrameLieWhereDivAndModPutThem) {
    EXPECT_FALSE(core::tileRect(5, 0)) << "a sheet without a whole column has no tile squares";
    const auto tile = core::tileRect(18, 8);
    ASSERT_TRUE(tile);
    EXPECT_EQ(tile->left, 16);
    EXPECT_EQ(tile->top, 16);
    EXPECT_EQ(tile->right, 24);
    EXPECT_EQ(tile->bottom, 24);
    // -1 with 16 columns: remainder -1, quotient 0, so the block starts left of the sheet.
    const auto left = core::blockFrame(-1, 16, 2, 1);
    ASSERT_TRUE(left);
    EXPECT_EQ(left->left, -8);
    EXPECT_EQ(left->top, 0);
    EXPECT_EQ(left->right, 8);
    EXPECT_EQ(left->bottom, 8);
    // The largest values give the true, far-away rectangle rather than a wrapped one.
    const auto far = core::blockFrame(INT_MAX, 1, INT_MAX, INT_MAX);
    ASSERT_TRUE(far);
    EXPECT_EQ(far->top, std::int64_t{INT_MAX} * 8);
    EXPECT_EQ(far->bottom, std::int64_t{INT_MAX} * 16);
    EXPECT_EQ(far->right, std::int64_t{INT_MAX} * 8);
}

}  // namespace

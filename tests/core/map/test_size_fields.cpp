#include "core/map/size_fields.h"

#include <gtest/gtest.h>


#include <cstdlib>
#include <string>

#include "core/text/failures.h"
#include "support/cp932.h"
#include "support/plain_size_fields.h"

namespace {

using core::EditorState;
using testsupport::PlainSizeFields;
using core::TileMap;

bool hasShape(const TileMap& map, std::size_t rows, std::size_t columns) {
    if (map.size() != rows) return false;
    for (const auto& row : map)
        if (row.size() != columns) return false;
    return true;
}

// Cells numbered by position, so that any cell moved or kept wrongly shows.
void numberCells(TileMap& map) {
    for (std::size_t r = 0; r < map.size(); ++r)
        for (std::size_t c = 0; c < map[r].size(); ++c) map[r][c] = static_cast<core::Cell>(r * 1000 + c + 1);
}

TEST(ResizeMap, KeepsTheOverlapAndNewCellsAreZero) {
    TileMap map(3, 4);
    numberCells(map);
    core::resizeMap(map, 5, 6);
    ASSERT_TRUE(hasShape(map, 5, 6));
    for (std::size_t r = 0; r < 5; ++r)
        for (std::size_t c = 0; c < 6; ++c)
            EXPECT_EQ(map[r][c], r < 3 && c < 4 ? r * 1000 + c + 1 : 0u) << r << "," << c;

    core::resizeMap(map, 2, 2);
    ASSERT_TRUE(hasShape(map, 2, 2));
    EXPECT_EQ(map[1][1], 1002);
    core::resizeMap(map, 3, 4);
    EXPECT_EQ(map[1][1], 1002);
    EXPECT_EQ(map[1][3], 0) << "a discarded cell came back";
    EXPECT_EQ(map[2][0], 0) << "a discarded row came back";
}

TEST(ResizeMap, ZeroIsASizeAndBadSizesChangeNothing) {
    TileMap map(2, 2, 7);
    core::resizeMap(map, 2, 0);
    EXPECT_TRUE(hasShape(map, 2, 0));
    core::resizeMap(map, 0, 5);
    EXPECT_TRUE(map.empty());

    TileMap kept(2, 3, 7);
    EXPECT_THROW(core::resizeMap(kept, -1, 3), core::RangeFailure);
    EXPECT_THROW(core::resizeMap(kept, 2, -1), core::RangeFailure);
    EXPECT_THROW(core::resizeMap(kept, 65536, 16384), core::RangeFailure);  // 2^31 bytes
    EXPECT_TRUE(hasShape(kept, 2, 3));
    EXPECT_EQ(kept[1][2], 7);
}

// A history restores from what the change reports: the map's own size on both sides.
TEST(ResizeMap, TheDocumentsResizeReportsTheSizeBeforeAndAfter) {
    EditorState state;
    state.MapWidth = 99;  // as a size field sets it just before its resize
    const core::MapChange change = core::resizeMap(state, {40, 3});
    EXPECT_EQ(change.edit, core::MapEdit::Resize);
    EXPECT_EQ(change.before, (core::MapSize{32, 32}));
    EXPECT_EQ(change.after, (core::MapSize{40, 3}));
    EXPECT_EQ(change.cells, (core::CellArea{0, 0, 40, 3}));
    EXPECT_TRUE(hasShape(state.Map, 3, 40));
    EXPECT_EQ(state.MapWidth, 40);
    EXPECT_EQ(state.MapHeight, 3);
    EXPECT_TRUE(core::marksModified(change));
}

TEST(ArraySizeText, StepsFromBytesToKilobytesToMegabytes) {
    struct Case {
        std::int32_t width, height;
        const char* text;
    };
    const Case cases[] = {
        {32, 32, "2048byte(2048byte)"},          {80, 64, "10240byte(10240byte)"},
        {81, 64, "10KB(10368byte)"},             {2560, 2048, "10240KB(10485760byte)"},
        {2561, 2048, "10MB(10489856byte)"},      {4096, 4096, "32MB(33554432byte)"},
        {0, 32, "0byte(0byte)"},                 {5121, 1, "10KB(10242byte)"},
    };
    for (const Case& c : cases) EXPECT_EQ(core::arraySizeText(c.width, c.height), c.text);
}

TEST(ArraySizeText, DimensionIsColumnsOfTheFirstRowThenRows) {
    EXPECT_EQ(core::dimensionText(TileMap(64, 80)), "80,64");
    EXPECT_EQ(core::dimensionText(TileMap(3, 0)), "0,3");
    EXPECT_EQ(core::dimensionText(TileMap()), "0,0");
}

class SizeFields : public ::testing::Test {
protected:
    EditorState state;
    PlainSizeFields fields{state};

    void expectWidth(std::int32_t width) {
        EXPECT_EQ(state.MapWidth, width);
        EXPECT_TRUE(hasShape(state.Map, static_cast<std::size_t>(state.MapHeight), static_cast<std::size_t>(width)));
        EXPECT_EQ(fields.gridColCount, width + 1);
        EXPECT_EQ(fields.pixelWidth, std::to_string(width * 8));
        EXPECT_EQ(fields.arraySize, core::arraySizeText(width, state.MapHeight));
        EXPECT_EQ(fields.dimension, core::dimensionText(state.Map));
    }
};

TEST_F(SizeFields, TypingFiveThousandResizesAtEveryKeyAndClampsTo4096) {
    int repaints = 0;
    for (const char* typed : {"5", "50", "500"}) {
        fields.setWidthText(typed);
        expectWidth(std::atoi(typed));
        EXPECT_EQ(fields.repaintCount, ++repaints);
    }
    fields.setWidthText("5000");
    EXPECT_EQ(fields.widthText(), "4096");
    EXPECT_EQ(fields.pixelWidth, "32768");
    expectWidth(4096);
    EXPECT_EQ(fields.arraySize, "256KB(262144byte)");
    EXPECT_EQ(fields.repaintCount, repaints + 2);  // the nested run repaints too
    EXPECT_TRUE(fields.failures().empty());
    EXPECT_TRUE(state.Modified);
}

TEST_F(SizeFields, ExactlyFourThousandNinetySixIsNotClamped) {
    fields.setHeightText("4096");
    EXPECT_EQ(fields.heightText(), "4096");
    EXPECT_EQ(fields.pixelHeight, "32768");
    EXPECT_EQ(state.MapHeight, 4096);
    EXPECT_EQ(fields.gridRowCount, 4097);
    EXPECT_EQ(fields.repaintCount, 1);
    EXPECT_TRUE(hasShape(state.Map, 4096, 32));
}

TEST_F(SizeFields, DeletingTheDigitsOfThirtyTwoEndsAtOne) {
    numberCells(state.Map);
    fields.setWidthText("3");
    expectWidth(3);
    fields.setWidthText("");
    EXPECT_EQ(fields.widthText(), "1");
    EXPECT_EQ(fields.pixelWidth, "8");
    expectWidth(1);
    EXPECT_EQ(fields.repaintCount, 3);  // "3", then the nested "1" and the outer run
    fields.setWidthText("32");
    expectWidth(32);
    EXPECT_EQ(state.Map[5][0], 5001);
    EXPECT_EQ(state.Map[5][1], 0) << "cells cut off by the narrow map came back";
}

TEST_F(SizeFields, HeightGrowsWithRowsOfTheCurrentWidth) {
    fields.setWidthText("10");
    fields.setHeightText("40");
    EXPECT_TRUE(hasShape(state.Map, 40, 10));
    EXPECT_EQ(fields.gridRowCount, 41);
    EXPECT_EQ(fields.dimension, "10,40");
}

TEST_F(SizeFields, ATextThatIsNoIntegerIsShownAndChangesNothing) {
    fields.setHeightText("abc");
    ASSERT_EQ(fields.failures().size(), 1u);
    EXPECT_EQ(core::withFullStop(fields.failures()[0]), testsupport::cp932("'abc' は整数ではありません."));
    EXPECT_EQ(fields.heightText(), "abc");
    EXPECT_EQ(state.MapHeight, 32);
    EXPECT_EQ(fields.pixelHeight, "256");
    EXPECT_TRUE(hasShape(state.Map, 32, 32));
    EXPECT_FALSE(state.Modified);
    EXPECT_EQ(fields.repaintCount, 0);
}

TEST_F(SizeFields, ANegativeSizeIsRefusedBeforeAnythingChanges) {
    numberCells(state.Map);
    const TileMap before = state.Map;
    fields.setWidthText("-5");
    fields.setHeightText("-1");
    ASSERT_EQ(fields.failures().size(), 2u);
    EXPECT_EQ(fields.failures()[0], core::RangeFailure().message());
    EXPECT_EQ(state.MapWidth, 32);
    EXPECT_EQ(state.MapHeight, 32);
    EXPECT_EQ(fields.pixelWidth, "256");
    EXPECT_EQ(fields.pixelHeight, "256");
    EXPECT_EQ(state.Map, before);
    EXPECT_FALSE(state.Modified);
}

TEST_F(SizeFields, ZeroLeavesAMapWithoutCellsThatCanGrowAgain) {
    fields.setWidthText("0");
    expectWidth(0);
    EXPECT_EQ(fields.dimension, "0,32");
    fields.setHeightText("0");
    EXPECT_TRUE(state.Map.empty());
    EXPECT_EQ(fields.gridRowCount, 1);
    fields.setHeightText("2");
    fields.setWidthText("3");
    EXPECT_TRUE(hasShape(state.Map, 2, 3));
}

TEST_F(SizeFields, HexadecimalTextIsKeptAsTyped) {
    fields.setWidthText("$14");
    EXPECT_EQ(fields.widthText(), "$14");
    expectWidth(20);
}

TEST_F(SizeFields, TheSameTextRunsNoHandlingButTheSizeOperationAlwaysApplies) {
    fields.setWidthText("32");
    EXPECT_EQ(fields.repaintCount, 0);
    EXPECT_FALSE(state.Modified);
    EXPECT_EQ(fields.arraySize, "");

    core::resizeToHeightText(state, fields);
    EXPECT_TRUE(state.Modified);
    EXPECT_EQ(fields.arraySize, "2048byte(2048byte)");
    EXPECT_EQ(fields.dimension, "32,32");
    EXPECT_EQ(fields.gridRowCount, 33);
}

TEST_F(SizeFields, TheSizeOperationClampsAFieldItFindsAboveTheLimit) {
    // As the open command does after a project put "9999" into a field directly.
    EditorState other;
    PlainSizeFields quiet(other);
    quiet.setWidthText("9999");
    core::resizeToWidthText(state, quiet);
    EXPECT_EQ(quiet.widthText(), "4096");
    EXPECT_EQ(state.MapWidth, 4096);
    EXPECT_TRUE(hasShape(state.Map, 32, 4096));
}

}  // namespace

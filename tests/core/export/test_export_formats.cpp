#include "core/export/export_formats.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/text/failures.h"
#include "support/temp_folder.h"

namespace {

using core::EditorState;
using core::ExportFormat;
using Lines = std::vector<std::string>;

EditorState mapOf(const core::TileMap& map, std::string label = "Default") {
    EditorState state;
    state.MapName = std::move(label);
    state.Map = map;
    state.MapHeight = static_cast<std::int32_t>(map.size());
    state.MapWidth = map.empty() ? 0 : static_cast<std::int32_t>(map.front().size());
    return state;
}

// Row r, column c holds r * width + c, wrapped to 16 bits.
EditorState numberedMap(std::int32_t width, std::int32_t height) {
    core::TileMap map(static_cast<std::size_t>(height), static_cast<std::size_t>(width));
    for (std::int32_t r = 0; r < height; ++r)
        for (std::int32_t c = 0; c < width; ++c)
            map[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = static_cast<core::Cell>(r * width + c);
    return mapOf(map);
}

EditorState workedExample() { return mapOf({{0, 1, 2}, {3, 4, 5}}); }

// Counts lines without keeping them; remembers the few lines a test asks about.
class CountingSink : public core::LineSink {
public:
    void line(std::string_view text) override {
        if (count_ < kKeptHead) head_.emplace_back(text);
        commas_ += static_cast<std::size_t>(std::count(text.begin(), text.end(), ','));
        ++count_;
        last_ = text;
    }
    std::size_t count() const { return count_; }
    std::size_t commas() const { return commas_; }
    const std::string& headLine(std::size_t i) const { return head_.at(i); }
    const std::string& lastLine() const { return last_; }

private:
    static constexpr std::size_t kKeptHead = 8;
    std::size_t count_ = 0;
    std::size_t commas_ = 0;
    Lines head_;
    std::string last_;
};

// Around multiples of 8 the line breaks move; every value must still come out once,
// in order, and no line may hold more than eight values or values of two rows.
TEST(CarrayRows, WidthsAroundMultiplesOfEightKeepEveryValueInItsRow) {
    for (const std::int32_t width : {1, 7, 8, 9, 15, 16, 17, 31, 32, 33, 64, 65}) {
        const std::int32_t height = 3;
        const EditorState state = numberedMap(width, height);
        const Lines lines = core::Output_Carray(state);
        const std::size_t linesPerRow = static_cast<std::size_t>(width / 8 + 1);
        ASSERT_EQ(lines.size(), 4 + static_cast<std::size_t>(height) * linesPerRow) << "width " << width;
        for (std::int32_t r = 0; r < height; ++r) {
            std::string row;
            for (std::size_t i = 0; i < linesPerRow; ++i) {
                const std::string& line = lines[3 + static_cast<std::size_t>(r) * linesPerRow + i];
                const auto values = std::count(line.begin(), line.end(), ',');
                EXPECT_EQ(values, i + 1 < linesPerRow ? 8 : width % 8) << "width " << width << " line " << i;
                EXPECT_EQ(line.find(' '), std::string::npos);
                row += line;
            }
            std::string expected;
            for (std::int32_t c = 0; c < width; ++c) expected += std::to_string(r * width + c) + ",";
            EXPECT_EQ(row, expected) << "width " << width << " row " << r;
        }
    }
}

TEST(ExportShapes, RowsAndCellsComeFromTheMapItself) {
    // The size fields disagree with the map: only GAS's size line follows them.
    EditorState state = mapOf({{1, 2}, {3, 4}});
    state.MapWidth = 5;
    state.MapHeight = 7;
    EXPECT_EQ(core::Output_Carray(state).size(), 4u + 2u);
    EXPECT_EQ(core::Output_DragonBASIC(state), (Lines{"Default:", "", "\tdata 1,2", "\tdata 3,4", ""}));
    const Lines gas = core::Output_GAS(state);
    EXPECT_EQ(gas.size(), 8u + 4u);
    EXPECT_EQ(gas[4], "\t.size\tDefault,70");
}

TEST(GasSize, SignedThirtyTwoBitProductOfTheSizeFields) {
    const auto sizeLine = [](std::int32_t width, std::int32_t height) {
        EditorState state = mapOf({});
        state.MapWidth = width;
        state.MapHeight = height;
        return core::Output_GAS(state)[4];
    };
    EXPECT_EQ(sizeLine(32, 32), "\t.size\tDefault,2048");
    EXPECT_EQ(sizeLine(4096, 4096), "\t.size\tDefault,33554432");
    EXPECT_EQ(sizeLine(0, 4096), "\t.size\tDefault,0");
    EXPECT_EQ(sizeLine(65536, 16384), "\t.size\tDefault,-2147483648");
    EXPECT_EQ(sizeLine(65536, 32768), "\t.size\tDefault,0");
    EXPECT_EQ(sizeLine(-3, 5), "\t.size\tDefault,-30");
}

TEST(LargestMap, LineCountsAndSize) {
    const EditorState state = numberedMap(core::kMaxMapSize, core::kMaxMapSize);

    CountingSink carray;
    core::Output_Carray(state, carray);
    EXPECT_EQ(carray.count(), 2101252u);
    EXPECT_EQ(carray.commas(), 16777216u);
    EXPECT_EQ(carray.lastLine(), "};");

    CountingSink gas;
    core::Output_GAS(state, gas);
    EXPECT_EQ(gas.count(), 16777224u);
    EXPECT_EQ(gas.headLine(4), "\t.size\tDefault,33554432");
    EXPECT_EQ(gas.headLine(7), "\t.short\t0");

    CountingSink basic;
    core::Output_DragonBASIC(state, basic);
    EXPECT_EQ(basic.count(), 4099u);
    // 4095 commas in each of the 4096 data lines: every line holds 4096 values.
    EXPECT_EQ(basic.commas(), 4096u * 4095u);
    EXPECT_EQ(basic.headLine(2).substr(0, 14), "\tdata 0,1,2,3,");
}

TEST(ExportFormatChoice, IndexesOfTheSettingsWindowItems) {
    const EditorState state = workedExample();
    const auto firstLine = [&](int index) {
        core::LineListSink sink;
        core::emitExport(core::exportFormatFromIndex(index), state, sink);
        return sink.lines().at(0);
    };
    EXPECT_EQ(firstLine(0), "");
    EXPECT_EQ(firstLine(1), "\t.global\tDefault");
    EXPECT_EQ(firstLine(2), "Default:");
    EXPECT_THROW(core::exportFormatFromIndex(3), core::RangeFailure);
    EXPECT_THROW(core::exportFormatFromIndex(-1), core::RangeFailure);
}

TEST(ExportAtomicity, FolderThatDoesNotExistFailsWithoutCreatingAnything) {
    testsupport::TempFolder folder;
    const auto path = folder / "missing" / "map.h";
    EXPECT_THROW(core::exportToFile(ExportFormat::CArray, workedExample(), path.string()), core::IoFailure);
    EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
}

}  // namespace

#include "core/project_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <random>
#include <string>

#include "core/failures.h"
#include "support/plain_size_fields.h"
#include "support/cp932.h"
#include "test_core_temp_folder.h"

namespace {

using core::EditorState;
using testsupport::PlainSizeFields;
using coretest::readAll;
using coretest::TempFolder;

std::string header(const std::string& width, const std::string& height) {
    return "sheet.bmp\r\nlabel\r\n" + width + "\r\n" + height + "\r\n";
}

class ProjectFile : public ::testing::Test {
protected:
    TempFolder folder;
    EditorState state;
    PlainSizeFields fields{state};

    void read(const std::string& bytes) { core::readProject(folder.write("p.quarvel", bytes), state, fields); }
};

TEST_F(ProjectFile, WritesTheHeaderLinesThenEveryCellRowByRow) {
    state.ImagePath = testsupport::cp932("C:\\絵\\tiles.bmp");
    state.MapName = testsupport::cp932("地図");
    fields.setWidthText("3");
    fields.setHeightText("$2");
    state.Map[1][2] = 17;
    state.Map[0][1] = 65535;
    const std::string path = folder.file("out.quarvel");
    core::writeProject(path, state, fields);
    EXPECT_EQ(readAll(path), state.ImagePath + "\r\n" + state.MapName + "\r\n3\r\n$2\r\n0\r\n65535\r\n0\r\n0\r\n0\r\n17\r\n");
}

TEST_F(ProjectFile, AMapWithoutCellsEndsAfterTheHeightLine) {
    state.ImagePath.clear();
    state.MapName.clear();
    fields.setWidthText("0");
    const std::string path = folder.file("empty.quarvel");
    core::writeProject(path, state, fields);
    EXPECT_EQ(readAll(path), "\r\n\r\n0\r\n32\r\n");
}

// A size the fields refused never reached the map; the file must still open.
TEST_F(ProjectFile, FieldTextsThatNeverBecameTheSizeAreSavedAsTheMapsSize) {
    fields.setWidthText("3");
    fields.setWidthText("3x");   // no integer: the map stays 3 wide
    fields.setHeightText("-2");  // refused: the map stays 32 high
    ASSERT_EQ(fields.shownFailures().size(), 2u);
    state.ImagePath = "sheet.bmp";
    state.MapName = "label";
    state.Map[31][2] = 9;
    const std::string path = folder.file("kept.quarvel");
    core::writeProject(path, state, fields);
    const std::string start = header("3", "32") + "0\r\n";
    EXPECT_EQ(readAll(path).substr(0, start.size()), start);

    EditorState reopened;
    PlainSizeFields reopenedFields(reopened);
    core::readProject(path, reopened, reopenedFields);
    EXPECT_EQ(reopened.Map, state.Map);
}

// A label field takes pasted line ends and control bytes; none of them may cost the map.
TEST_F(ProjectFile, LineEndsAndCtrlZInTheTextsAreLeftOutSoTheFileStaysReadable) {
    state.ImagePath = "tiles\n.bmp";
    state.MapName = testsupport::cp932("地\r\n図\x1a!");
    state.Map[31][31] = 44;
    const std::string path = folder.file("pasted.quarvel");
    core::writeProject(path, state, fields);

    EditorState reopened;
    PlainSizeFields reopenedFields(reopened);
    core::readProject(path, reopened, reopenedFields);
    EXPECT_EQ(reopened.ImagePath, "tiles.bmp");
    EXPECT_EQ(reopened.MapName, testsupport::cp932("地図!"));
    EXPECT_EQ(reopened.Map, state.Map);
}

TEST_F(ProjectFile, RoundTripGivesBackTheDocument) {
    EditorState original;
    PlainSizeFields originalFields(original);
    original.ImagePath = testsupport::cp932("タイル ./sheet.bmp");
    original.MapName = testsupport::cp932("ステージ1");
    originalFields.setWidthText("37");
    originalFields.setHeightText("23");
    std::mt19937 random(7);
    for (auto& row : original.Map)
        for (auto& cell : row) cell = static_cast<core::Cell>(random());
    const std::string path = folder.file("round.quarvel");
    core::writeProject(path, original, originalFields);
    const std::string bytes = readAll(path);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 4 + 37 * 23);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\r'), 4 + 37 * 23);

    core::readProject(path, state, fields);
    EXPECT_EQ(state.ImagePath, original.ImagePath);
    EXPECT_EQ(state.MapName, original.MapName);
    EXPECT_EQ(state.MapWidth, 37);
    EXPECT_EQ(state.MapHeight, 23);
    EXPECT_EQ(state.Map, original.Map);
    EXPECT_EQ(fields.widthText(), "37");
    EXPECT_EQ(fields.heightText(), "23");
    EXPECT_EQ(fields.arraySizeText(), core::arraySizeText(37, 23));
    EXPECT_EQ(fields.dimensionText(), "37,23");
    EXPECT_TRUE(fields.shownFailures().empty());
}

TEST_F(ProjectFile, ReadsLfOnlyFilesAndAFinalCellWithoutLineEnd) {
    read("a.bmp\nname\n2\n2\n1\n2\n3\n4");
    EXPECT_EQ(state.ImagePath, "a.bmp");
    EXPECT_EQ(state.MapName, "name");
    EXPECT_EQ(state.Map, (core::TileMap{{1, 2}, {3, 4}}));
}

TEST_F(ProjectFile, CellsFollowTheNumberRules) {
    read(header("3", "3") + "$10\r\n0x10\r\n+16\r\n-1\r\n70000\r\n\r\n\r\n  7 8\r\n9 junk\r\n\t5\r\n");
    EXPECT_EQ(state.Map, (core::TileMap{{16, 16, 16}, {65535, 4464, 7}, {9, 5, 0}}));
}

TEST_F(ProjectFile, AFileEndingEarlyOrAtCtrlZLeavesTheRestZero) {
    state.Map[0][0] = 99;
    read(header("2", "2"));
    EXPECT_EQ(state.Map, (core::TileMap{{0, 0}, {0, 0}}));
    read(header("2", "2") + "5\r\n6\x1a" "7\r\n8\r\n");
    EXPECT_EQ(state.Map, (core::TileMap{{5, 6}, {0, 0}}));
}

TEST_F(ProjectFile, HeaderNumbersMayHaveLeadingBlanksAndStayAsTextInTheFields) {
    read(header(" 2", "$1") + "4\r\n5\r\n");
    EXPECT_EQ(fields.widthText(), " 2");
    EXPECT_EQ(fields.heightText(), "$1");
    EXPECT_EQ(state.Map, (core::TileMap{{4, 5}}));
}

TEST_F(ProjectFile, FieldsAlreadyHoldingTheSizeRunNoHandlingAndLeaveModified) {
    read(header("32", "32"));
    EXPECT_EQ(fields.repaintCount(), 0);
    EXPECT_FALSE(state.Modified);
    read(header("31", "32"));
    EXPECT_EQ(fields.repaintCount(), 1);
    EXPECT_TRUE(state.Modified);
}

TEST_F(ProjectFile, AWidthAboveTheCapFollowsTheFileButKeepsTheCappedCells) {
    std::string bytes = header("5000", "2");
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 5000; ++c) bytes += std::to_string(r * 10000 + c % 4500) + "\n";
    read(bytes);
    EXPECT_EQ(fields.widthText(), "4096");
    EXPECT_EQ(fields.pixelWidthText(), "32768");
    EXPECT_EQ(state.MapWidth, 4096);
    EXPECT_EQ(state.MapHeight, 2);
    ASSERT_EQ(state.Map.size(), 2u);
    ASSERT_EQ(state.Map[1].size(), 4096u);
    EXPECT_EQ(state.Map[0][4095], 4095);
    EXPECT_EQ(state.Map[1][0], 10000);  // row 1 starts after 5000 cell lines
    EXPECT_EQ(state.Map[1][4095], 14095);
    EXPECT_EQ(fields.arraySizeText(), core::arraySizeText(4096, 2));
}

TEST_F(ProjectFile, AHugeDeclaredSizeStopsAtTheEndOfTheFile) {
    const auto start = std::chrono::steady_clock::now();
    read(header("1000000000", "1") + "1\r\n2\r\n");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(state.MapWidth, 4096);
    EXPECT_EQ(state.MapHeight, 1);
    ASSERT_EQ(state.Map.size(), 1u);
    EXPECT_EQ(state.Map[0][1], 2);
    EXPECT_EQ(state.Map[0][2], 0);
}

// Every failing read leaves the state and the fields as they were and raises once.
class StagedRead : public ProjectFile {
protected:
    struct Snapshot {
        std::string imagePath, mapName, width, height, pixelWidth, pixelHeight, arraySize, dimension;
        core::TileMap map;
        std::int32_t mapWidth, mapHeight, cols, rows;
        int repaints;
        bool modified;
        bool operator==(const Snapshot&) const = default;
    };

    Snapshot snapshot() const {
        return {state.ImagePath,   state.MapName,        fields.widthText(),    fields.heightText(),
                fields.pixelWidthText(), fields.pixelHeightText(), fields.arraySizeText(), fields.dimensionText(),
                state.Map,         state.MapWidth,       state.MapHeight,       fields.gridColCount(),
                fields.gridRowCount(), fields.repaintCount(), state.Modified};
    }

    void SetUp() override {
        state.ImagePath = "old.bmp";
        state.MapName = "old";
        fields.setWidthText("3");
        fields.setHeightText("2");
        state.Map[1][2] = 42;
        state.Modified = false;
    }

    void expectUntouchedAfter(const std::function<void()>& failingRead, const std::string& message) {
        const Snapshot before = snapshot();
        try {
            failingRead();
            ADD_FAILURE() << "no failure raised";
        } catch (const core::Failure& failure) {
            EXPECT_EQ(failure.message(), message) << testsupport::utf8(failure.message());
        }
        EXPECT_TRUE(snapshot() == before);
        EXPECT_TRUE(fields.shownFailures().empty()) << "a failure was shown besides the one raised";
    }

    void expectUntouchedReading(const std::string& bytes, const std::string& message) {
        expectUntouchedAfter([&] { read(bytes); }, message);
    }
};

TEST_F(StagedRead, MissingFileFolderOrAFolderAsTheFile) {
    expectUntouchedAfter([&] { core::readProject(folder.file("none.quarvel"), state, fields); },
                         core::IoFailure(2).message());
    expectUntouchedAfter([&] { core::readProject(folder.file("none/p.quarvel"), state, fields); },
                         core::IoFailure(3).message());
    expectUntouchedAfter([&] { core::readProject(folder.path(), state, fields); }, core::IoFailure(5).message());
}

TEST_F(StagedRead, HeaderTextsThatAreNoInteger) {
    expectUntouchedReading(header("abc", "2") + "1\r\n", core::ConversionFailure("abc").message());
    expectUntouchedReading(header("4", "4 ") + "1\r\n", core::ConversionFailure("4 ").message());
    expectUntouchedReading(header("", "2"), core::ConversionFailure("").message());
    expectUntouchedReading("only one line", core::ConversionFailure("").message());
}

TEST_F(StagedRead, NegativeOrUnaddressableSizes) {
    expectUntouchedReading(header("4", "-1"), core::RangeFailure().message());
    expectUntouchedReading(header("-3", "0"), core::RangeFailure().message());
    expectUntouchedReading(header("65536", "16384"), core::RangeFailure().message());
}

TEST_F(StagedRead, AMalformedCellAnywhere) {
    expectUntouchedReading(header("5", "2") + "1\r\n2\r\n7,8\r\n", core::IoFailure(106).message());
    std::string lastBad = header("2", "2") + "1\r\n2\r\n3\r\n";
    expectUntouchedReading(lastBad + "abc\r\n", core::IoFailure(106).message());
    // A cell beyond the kept extent still has to be a number.
    std::string keptCells;
    for (int c = 0; c < 4096; ++c) keptCells += "1\n";
    expectUntouchedReading(header("4097", "1") + keptCells + "x\n", core::IoFailure(106).message());
}

}  // namespace

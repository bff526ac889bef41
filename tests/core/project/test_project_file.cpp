#include "core/project/project_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <string>

#include "core/project/integer_syntax.h"
#include "core/text/failures.h"
#include "support/cp932.h"
#include "support/data_cases.h"
#include "support/plain_size_fields.h"
#include "support/temp_folder.h"

namespace {

using core::EditorState;
using testsupport::PlainSizeFields;
using testsupport::readAll;
using testsupport::TempFolder;

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

// A size the fields refused never reached the map; the file must still open.
TEST_F(ProjectFile, FieldTextsThatNeverBecameTheSizeAreSavedAsTheMapsSize) {
    fields.setWidthText("3");
    fields.setWidthText("3x");   // no integer: the map stays 3 wide
    fields.setHeightText("-2");  // refused: the map stays 32 high
    ASSERT_EQ(fields.failures().size(), 2u);
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
    for (const core::MapRow row : original.Map)
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
    EXPECT_EQ(fields.arraySize, core::arraySizeText(37, 23));
    EXPECT_EQ(fields.dimension, "37,23");
    EXPECT_TRUE(fields.failures().empty());
}

TEST_F(ProjectFile, FieldsAlreadyHoldingTheSizeRunNoHandlingAndLeaveModified) {
    read(header("32", "32"));
    EXPECT_EQ(fields.repaintCount, 0);
    EXPECT_FALSE(state.Modified);
    read(header("31", "32"));
    EXPECT_EQ(fields.repaintCount, 1);
    EXPECT_TRUE(state.Modified);
}

// The file's map is in place before the fields' change handling runs, so its resizes
// find the size they ask for and build nothing: the largest map is held once, not
// twice. The handling still caps the field, marks the document and sets the counts.
TEST_F(ProjectFile, TheFieldsChangeHandlingFindsTheFilesMapInPlace) {
    struct Watching : PlainSizeFields {
        using PlainSizeFields::PlainSizeFields;
        std::vector<core::MapChange> changes;
        std::vector<core::Cell> lastCells;
        void applyMapChange(const core::MapChange& change) override {
            PlainSizeFields::applyMapChange(change);
            changes.push_back(change);
            lastCells.push_back(state_.Map.back().back());
        }
    } watching(state);
    std::string cells;
    for (int i = 0; i < 5000 * 2; ++i) cells += std::to_string(i % 5000 == 4095 ? 77 : 1) + "\r\n";
    core::readProject(folder.write("wide.quarvel", header("5000", "2") + cells), state, watching);

    ASSERT_EQ(watching.changes.size(), 3u);  // the width, its nested "4096", the height
    for (std::size_t i = 0; i < watching.changes.size(); ++i) {
        EXPECT_EQ(watching.changes[i].before, (core::MapSize{4096, 2})) << i;
        EXPECT_EQ(watching.changes[i].after, (core::MapSize{4096, 2})) << i;
        EXPECT_EQ(watching.lastCells[i], 77) << i;
    }
    EXPECT_EQ(watching.widthText(), "4096");
    EXPECT_EQ(watching.gridColCount, 4097);
    EXPECT_EQ(watching.gridRowCount, 3);
    EXPECT_EQ(watching.dimension, "4096,2");
    EXPECT_TRUE(state.Modified);
    EXPECT_TRUE(watching.failures().empty());
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
                fields.pixelWidth, fields.pixelHeight, fields.arraySize, fields.dimension,
                state.Map,         state.MapWidth,       state.MapHeight,       fields.gridColCount,
                fields.gridRowCount, fields.repaintCount, state.Modified};
    }

    void SetUp() override {
        state.ImagePath = "old.bmp";
        state.MapName = "old";
        fields.setWidthText("3");
        fields.setHeightText("2");
        state.Map[1][2] = 42;
        state.Modified = false;
    }

    // `shown` is the failure's text as the failure box shows it, in UTF-8.
    void expectUntouchedAfter(const std::function<void()>& failingRead, const std::string& shown) {
        const Snapshot before = snapshot();
        try {
            failingRead();
            ADD_FAILURE() << "no failure raised";
        } catch (const core::Failure& failure) {
            EXPECT_EQ(testsupport::utf8(core::textToShow(failure)), shown);
        }
        EXPECT_TRUE(snapshot() == before);
        EXPECT_TRUE(fields.failures().empty()) << "a failure was shown besides the one raised";
    }
};

TEST_F(StagedRead, AMissingFileOrFolderOrAFolderInsteadOfAFile) {
    expectUntouchedAfter([&] { core::readProject(folder.file("none.quarvel"), state, fields); },
                         "ファイルが見つかりません.");
    expectUntouchedAfter([&] { core::readProject(folder.file("none/p.quarvel"), state, fields); },
                         "不正なファイル名です.");
    expectUntouchedAfter([&] { core::readProject(folder.path(), state, fields); }, "ファイルへのアクセスが拒否されました.");
}

// Every case under tests/data, opened as the editor opens it over a document of its
// own: it fails with the expected text and changes nothing, or it gives each
// expected file, saved again as a project and exported in each format.
class DataCase : public StagedRead, public ::testing::WithParamInterface<std::filesystem::path> {
protected:
    void expectFile(const std::filesystem::path& expected, const std::function<void(const std::string&)>& write) {
        if (!std::filesystem::exists(expected)) return;
        const std::string written = folder.file("written");
        write(written);
        EXPECT_EQ(readAll(written), readAll(expected)) << expected;
    }
};

TEST_P(DataCase, OpensAsTheEditorOpensIt) {
    const std::filesystem::path& folder = GetParam();
    const std::string project = (folder / "project.quarvel").string();
    const auto failure = folder / "expected-failure.txt";
    if (std::filesystem::exists(failure)) {
        std::string shown = readAll(failure.string());
        shown.pop_back();  // the file's own line end
        expectUntouchedAfter([&] { core::openProject(project, state, fields); }, shown);
        return;
    }
    core::openProject(project, state, fields);
    EXPECT_TRUE(fields.failures().empty());
    EXPECT_FALSE(state.Modified);
    // The fields, the texts derived from them and the view's counts name the map's size.
    EXPECT_EQ(core::toInteger(fields.widthText()), state.MapWidth);
    EXPECT_EQ(core::toInteger(fields.heightText()), state.MapHeight);
    EXPECT_EQ(fields.pixelWidth, core::pixelText(state.MapWidth));
    EXPECT_EQ(fields.pixelHeight, core::pixelText(state.MapHeight));
    EXPECT_EQ(fields.arraySize, core::arraySizeText(state.MapWidth, state.MapHeight));
    EXPECT_EQ(fields.dimension, core::dimensionText(state.Map));
    EXPECT_EQ(fields.gridColCount, state.MapWidth + 1);
    EXPECT_EQ(fields.gridRowCount, state.MapHeight + 1);
    expectFile(folder / "expected.quarvel", [&](const std::string& path) { core::writeProject(path, state, fields); });
    for (const auto& [name, format] : testsupport::exportFormats())
        expectFile(folder / ("expected." + name), [&](const std::string& path) { core::exportToFile(format, state, path); });
}

std::vector<std::filesystem::path> allDataCases() {
    auto cases = testsupport::dataCases("project");
    for (auto& exportCase : testsupport::dataCases("export")) cases.push_back(std::move(exportCase));
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Data, DataCase, ::testing::ValuesIn(allDataCases()),
                         [](const auto& info) { return testsupport::caseName(info.param); });

}  // namespace

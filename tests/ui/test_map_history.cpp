// Undo and redo through the real windows: what one step is, the size fields' texts
// and counts coming back, Modified and the prompt, and the history's byte limit.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include "map_view/test_grid_user.h"
#include "support/qt_files.h"
#include "test_windows_fixture.h"
#include "ui/map_view/DrawGrid.h"
#include "ui/map_view/GridInput.h"
#include "ui/sheet/SheetView.h"

namespace {

using Kind = ui::ScriptedDialogs::Kind;

class MapHistoryTest : public windowstest::WindowsTest, protected gridtest::GridUser {
protected:
    void SetUp() override {
        WindowsTest::SetUp();
        showMainWindow();
        watch(*form->DrawGrid1);
        grid->setFocus();
        // A 32 x 16 sheet: eight tiles, four to a sheet row.
        form->TileSheet.width = 32;
        form->TileSheet.height = 16;
        form->TileSheet.pixels.assign(32 * 16, 0xFF808080u);
        form->SheetColumns = 4;
        form->Image1->resize(32, 16);
        // Cells numbered by place, as an opened project leaves them.
        for (std::size_t r = 0; r < form->Map.size(); ++r)
            for (std::size_t c = 0; c < form->Map[r].size(); ++c) form->Map[r][c] = core::Cell(100 + r * 32 + c);
    }

    static void undoIn(QWidget* widget) { QTest::keyClick(widget, Qt::Key_Z, Qt::ControlModifier); }
    static void redoIn(QWidget* widget) { QTest::keyClick(widget, Qt::Key_Y, Qt::ControlModifier); }
    static void redoByShiftIn(QWidget* widget) {
        QTest::keyClick(widget, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    }

    void wheelNotchDown() {
        const QPoint at = grid->viewport()->rect().center();
        QWheelEvent notch(at, grid->viewport()->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, {}, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(grid->viewport(), &notch);
    }
    void stampRight(int tile) {
        form->SelectedTile = tile;
        QTest::keyClick(grid, Qt::Key_Right);
    }
    void expectSizeTexts(const char* width, const char* pixelWidth, const char* arraySize, const char* dimension) {
        EXPECT_EQ(settings->Edit2->text(), width);
        EXPECT_EQ(settings->Label6->text(), pixelWidth);
        EXPECT_EQ(settings->Label14->text(), arraySize);
        EXPECT_EQ(settings->Label10->text(), dimension);
    }
    void saveAs(const QString& name) {
        dialogs.saveFileAnswers.push_back(folder.filePath(name));
        form->N1->trigger();
    }
};

TEST_F(MapHistoryTest, KeyAndWheelStampsAndTheFillAreStepsTakenBackAndForth) {
    const core::TileMap start = form->Map;
    stampRight(3);
    const core::TileMap afterKey = form->Map;
    wheelNotchDown();
    const core::TileMap afterWheel = form->Map;
    form->SelectedTile = 70000;
    form->Button2->click();
    ASSERT_NE(afterKey, start);
    ASSERT_NE(afterWheel, afterKey);

    undoIn(grid);
    EXPECT_EQ(form->Map, afterWheel);
    undoIn(form->Button2);
    EXPECT_EQ(form->Map, afterKey);
    undoIn(grid);
    undoIn(grid);  // nothing left to undo
    EXPECT_EQ(form->Map, start);
    redoIn(grid);
    EXPECT_EQ(form->Map, afterKey);
    redoByShiftIn(grid);
    EXPECT_EQ(form->Map, afterWheel);

    // A new edit drops what could have been redone.
    stampRight(5);
    const core::TileMap afterNew = form->Map;
    EXPECT_EQ(form->history().redoableSteps(), 0);
    redoIn(grid);
    EXPECT_EQ(form->Map, afterNew);
    undoIn(grid);
    EXPECT_EQ(form->Map, afterWheel);
}

// A press, its moves and the 60-ms steps past the view's edge, up to the release,
// are one step, whose overlapping blocks all come undone; the keys wait for the
// release. A drag whose first stamp fails leaves no step.
TEST_F(MapHistoryTest, AStampingDragIsOneStepFromPressToRelease) {
    stampRight(7);
    const core::TileMap start = form->Map;
    form->Edit5->setText("3");
    form->Edit6->setText("3");
    form->SelectedTile = 1;
    press(centre(2, 6));
    moveTo(centre(3, 6));
    moveTo(centre(4, 7));
    const QPoint above(centre(4, 7).x(), -30);
    moveTo(above);
    QTest::qWait(3 * ui::GridInput::kStepMilliseconds + 30);
    const core::TileMap dragging = form->Map;
    undoIn(grid);
    EXPECT_EQ(form->Map, dragging) << "no undo in the middle of a drag";
    release(above);
    ASSERT_GE(fired.size(), 5u);
    const core::TileMap dragged = form->Map;
    EXPECT_EQ(form->history().undoableSteps(), 2);
    undoIn(grid);
    EXPECT_EQ(form->Map, start);
    redoIn(grid);
    EXPECT_EQ(form->Map, dragged);

    form->Edit5->setText("x");
    dialogs.clear();
    press(centre(8, 8));
    release(centre(9, 8));
    EXPECT_EQ(dialogs.failures().size(), 1);
    EXPECT_EQ(form->history().undoableSteps(), 2);
}

// Each keystroke is a step, the nested runs of an emptied field or of the cap
// included, and undoing one runs no change handling: it pushes no new step.
TEST_F(MapHistoryTest, SizeFieldStepsBringBackTheTextsTheCountsAndTheCutCells) {
    const core::TileMap start = form->Map;
    QLineEdit* width = settings->Edit2;
    width->setFocus();
    width->selectAll();
    QTest::keyClicks(width, "3");
    ASSERT_EQ(form->MapWidth, 3);

    undoIn(width);
    expectSizeTexts("32", "256", "2048byte(2048byte)", "32,32");
    EXPECT_EQ(form->MapWidth, 32);
    EXPECT_EQ(grid->ColCount(), 33);
    EXPECT_EQ(form->Map, start) << "the cut columns came back";
    EXPECT_EQ(form->history().redoableSteps(), 1);

    redoIn(width);
    expectSizeTexts("3", "24", "192byte(192byte)", "3,32");
    EXPECT_EQ(grid->ColCount(), 4);
    QTest::keyClick(width, Qt::Key_Backspace);  // emptied: "1" at once, in the same step
    expectSizeTexts("1", "8", "64byte(64byte)", "1,32");
    undoIn(width);
    expectSizeTexts("3", "24", "192byte(192byte)", "3,32");
    EXPECT_EQ(form->Map[31][2], start[31][2]);

    width->selectAll();
    QTest::keyClicks(width, "5000");  // 5, 50, 500, then the cap
    expectSizeTexts("4096", "32768", "256KB(262144byte)", "4096,32");
    undoIn(width);
    expectSizeTexts("500", "4000", "31KB(32000byte)", "500,32");
    EXPECT_EQ(grid->ColCount(), 501);
    for (int i = 0; i < 4; ++i) undoIn(width);
    expectSizeTexts("32", "256", "2048byte(2048byte)", "32,32");
    EXPECT_EQ(form->Map, start);

    settings->Edit3->selectAll();
    QTest::keyClicks(settings->Edit3, "2");
    undoIn(settings->Edit3);
    EXPECT_EQ(settings->Edit3->text(), "32");
    EXPECT_EQ(settings->Label7->text(), "256");
    EXPECT_EQ(form->MapHeight, 32);
    EXPECT_EQ(grid->RowCount(), 33);
    EXPECT_EQ(form->Map, start);
    EXPECT_FALSE(form->Modified) << "back where the windows started";
}

TEST_F(MapHistoryTest, ModifiedClearsOnlyBackAtTheSavedStateAndThePromptFollows) {
    saveAs("saved.quarvel");
    stampRight(2);
    undoIn(grid);
    EXPECT_FALSE(form->Modified);
    EXPECT_TRUE(form->FormClose());
    EXPECT_TRUE(dialogs.callsOf(Kind::YesNo).empty()) << "nothing unsaved to ask about";

    redoIn(grid);
    EXPECT_TRUE(form->Modified);
    dialogs.yesNoAnswers.push_back(false);
    EXPECT_TRUE(form->FormClose());
    EXPECT_EQ(dialogs.callsOf(Kind::YesNo).size(), 1u);

    // A fill leaves Modified as it is; redoing it is a change like any other.
    undoIn(grid);
    form->Button2->click();
    EXPECT_FALSE(form->Modified);
    undoIn(grid);
    EXPECT_FALSE(form->Modified);
    redoIn(grid);
    EXPECT_TRUE(form->Modified);

    // The label is no step: no undo leads back to the saved file any more.
    undoIn(grid);
    settings->Edit1->setText("renamed");
    stampRight(4);
    undoIn(grid);
    EXPECT_TRUE(form->Modified);
}

TEST_F(MapHistoryTest, OpeningAProjectStartsANewHistory) {
    stampRight(2);
    const QString path =
        testsupport::writeFile(folder, "small.quarvel", "\r\nsmall\r\n3\r\n2\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");
    dialogs.yesNoAnswers.push_back(false);
    dialogs.openFileAnswers.push_back(path);
    form->N2->trigger();
    ASSERT_EQ(form->Map, (core::TileMap{{1, 2, 3}, {4, 5, 6}}));
    EXPECT_EQ(form->history().undoableSteps(), 0) << "nothing of the open is a step";
    undoIn(grid);
    EXPECT_EQ(form->Map, (core::TileMap{{1, 2, 3}, {4, 5, 6}}));
    EXPECT_EQ(settings->Edit2->text(), "3");

    stampRight(7);
    undoIn(grid);
    EXPECT_FALSE(form->Modified) << "back at the state the open left";
}

// The main window's own text fields and the label field undo their own text, not
// the map's history, which the size fields take (above).
TEST_F(MapHistoryTest, OtherTextFieldsKeepTheirOwnUndo) {
    stampRight(2);
    const core::TileMap stamped = form->Map;
    QLineEdit* blockWidth = form->Edit5;
    blockWidth->setFocus();
    blockWidth->end(false);
    QTest::keyClicks(blockWidth, "2");
    undoIn(blockWidth);
    EXPECT_EQ(blockWidth->text(), "1");
    redoIn(blockWidth);
    EXPECT_EQ(blockWidth->text(), "12");
    EXPECT_EQ(form->Map, stamped);

    settings->Edit1->end(false);
    QTest::keyClicks(settings->Edit1, "X");
    undoIn(settings->Edit1);
    EXPECT_EQ(settings->Edit1->text(), "Default");
    EXPECT_EQ(form->Map, stamped);
}

// A step keeps what it replaced: the limit counts those bytes, drops the oldest
// steps beyond it, and a step that alone exceeds it leaves no history at all.
TEST_F(MapHistoryTest, TheByteLimitDropsTheOldestSteps) {
    form->Edit5->setText("8");
    form->Edit6->setText("8");
    saveAs("saved.quarvel");
    stampRight(1);
    const std::size_t oneStep = form->history().bytes();
    ASSERT_GT(oneStep, 8u * 8u * sizeof(core::Cell));
    form->history().setByteLimit(3 * oneStep + oneStep / 2);
    std::vector<core::TileMap> states{form->Map};
    for (int tile = 2; tile <= 6; ++tile) {
        stampRight(tile);
        states.push_back(form->Map);
    }
    EXPECT_EQ(form->history().undoableSteps(), 3);
    EXPECT_LE(form->history().bytes(), form->history().byteLimit());
    for (int i = 0; i < 5; ++i) undoIn(grid);
    EXPECT_EQ(form->Map, states[2]) << "undo stops at the oldest step kept";
    EXPECT_TRUE(form->Modified) << "the saved state went with the dropped steps";
    for (int i = 0; i < 3; ++i) redoIn(grid);
    EXPECT_EQ(form->Map, states[5]);

    // Dropped steps do not pile up on the stack.
    for (int i = 0; i < 100; ++i) QTest::keyClick(grid, i % 2 ? Qt::Key_Left : Qt::Key_Right);
    EXPECT_EQ(form->history().undoableSteps(), 3);
    EXPECT_LE(form->history().stackedSteps(), 8);

    form->history().setByteLimit(oneStep);
    form->Button2->click();  // the whole 32 x 32 map: more than the limit
    EXPECT_EQ(form->history().undoableSteps(), 0);
    EXPECT_EQ(form->history().redoableSteps(), 0);
    EXPECT_EQ(form->history().bytes(), 0u);
}

}  // namespace

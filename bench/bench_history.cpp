// The map's history on the largest map, through the real main window: a fill as a
// step (the cells kept, the fill, the repaint), its undo and redo, and the undo and
// redo of a stamping drag of 1000 stamps of a 32 x 32 block, which is one step.
#include <QApplication>
#include <QLineEdit>
#include <benchmark/benchmark.h>

#include "core/map/size_fields.h"
#include "support/ScriptedDialogs.h"
#include "ui/history/MapHistory.h"
#include "ui/main_window/StartUp.h"
#include "ui/main_window/Unit1.h"
#include "ui/map_view/DrawGrid.h"
#include "ui/sheet/SheetView.h"

namespace {

constexpr int kMapSize = 4096;
constexpr int kDragStamps = 1000;

// Both windows with a 4096 x 4096 map of varied cells and a 256 x 256 sheet.
struct Windows {
    ui::ScriptedDialogs dialogs;
    Windows() {
        ui::createWindows(dialogs);
        Form1->show();
        core::resizeMap(*Form1, {kMapSize, kMapSize});
        for (int y = 0; y < kMapSize; ++y)
            for (int x = 0; x < kMapSize; ++x) Form1->Map[y][x] = core::Cell((x * 7 + y * 13) % 1024);
        Form1->DrawGrid1->setColCount(kMapSize + 1);
        Form1->DrawGrid1->setRowCount(kMapSize + 1);
        Form1->TileSheet.width = Form1->TileSheet.height = 256;
        Form1->TileSheet.pixels.assign(256 * 256, 0xFF336699u);
        Form1->SheetColumns = 32;
        Form1->Image1->resize(256, 256);
        QApplication::processEvents();
    }
    ~Windows() { ui::destroyWindows(); }
};

void fillStep4096(benchmark::State& state) {
    Windows windows;
    for (auto _ : state) {
        ++Form1->SelectedTile;
        Form1->Button2Click();
        state.PauseTiming();
        Form1->history().clear();  // each fill keeps 32 MiB: do not let them pile up
        state.ResumeTiming();
    }
}
BENCHMARK(fillStep4096)->Unit(benchmark::kMillisecond);

// Undoes (or redoes) the step, timed; the other direction is untimed.
void timeBackAndForth(benchmark::State& state, bool timeUndo) {
    for (auto _ : state) {
        if (!timeUndo) {
            state.PauseTiming();
            Form1->undoMapEdit();
            state.ResumeTiming();
        }
        Form1->undoMapEdit();
        if (timeUndo) {
            state.PauseTiming();
            Form1->redoMapEdit();
            state.ResumeTiming();
        } else {
            Form1->redoMapEdit();
        }
    }
}

void fillUndo4096(benchmark::State& state) {
    Windows windows;
    Form1->Button2Click();
    timeBackAndForth(state, true);
}
BENCHMARK(fillUndo4096)->Unit(benchmark::kMillisecond);

void fillRedo4096(benchmark::State& state) {
    Windows windows;
    Form1->Button2Click();
    timeBackAndForth(state, false);
}
BENCHMARK(fillRedo4096)->Unit(benchmark::kMillisecond);

// The drag's stamps walk down and right across the map, as the step timer makes them
// past a corner of the view; the drag is one step.
void makeDrag() {
    Form1->Edit5->setText("32");
    Form1->Edit6->setText("32");
    Form1->SelectedTile = 0;
    ui::DrawGrid& grid = *Form1->DrawGrid1;
    grid.OnStampingDragStart();
    for (int i = 0; i < kDragStamps; ++i) {
        bool canSelect = true;
        grid.OnSelectCell(1 + i * 3, 1 + i * 2, canSelect);
    }
    grid.OnStampingDragEnd();
}

void dragUndo4096(benchmark::State& state) {
    Windows windows;
    makeDrag();
    state.counters["step_MiB"] = double(Form1->history().bytes()) / (1 << 20);
    timeBackAndForth(state, true);
}
BENCHMARK(dragUndo4096)->Unit(benchmark::kMillisecond);

void dragRedo4096(benchmark::State& state) {
    Windows windows;
    makeDrag();
    timeBackAndForth(state, false);
}
BENCHMARK(dragRedo4096)->Unit(benchmark::kMillisecond);

}  // namespace

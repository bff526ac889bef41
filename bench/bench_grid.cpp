// Map view costs: a full repaint of a 1920 x 1080 view with a sheet and both
// overlays, on a small and on the largest map, at every zoom level, a zoom step and
// the fit, and the first repaint after a sheet load;
// the fill; a drag step with a 32 x 32 block.
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QRegion>
#include <QScrollBar>
#include <benchmark/benchmark.h>

#include "core/map/stamp.h"
#include "support/ScriptedDialogs.h"
#include "ui/main_window/StartUp.h"
#include "ui/main_window/Unit1.h"
#include "ui/map_view/DrawGrid.h"
#include "ui/map_view/ZoomLevel.h"
#include "ui/sheet/SheetView.h"

namespace {

// A 256 x 256 sheet: 1024 tiles, every map cell points at one of them.
core::Bitmap benchSheet() {
    core::Bitmap sheet;
    sheet.width = sheet.height = 256;
    sheet.pixels.resize(256 * 256);
    for (int i = 0; i < 256 * 256; ++i) sheet.pixels[i] = 0xFF000000u | (i * 2654435761u >> 8);
    return sheet;
}

void prepareMap(TForm1& form, int size) {
    form.MapWidth = form.MapHeight = size;
    form.Map = core::TileMap(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) form.Map[y][x] = core::Cell((x * 7 + y * 13) % 1024);
    form.DrawGrid1->setColCount(size + 1);
    form.DrawGrid1->setRowCount(size + 1);
    form.TileSheet = benchSheet();
    form.SheetColumns = 32;
    form.Image1->resize(256, 256);
    form.CheckBox1->setChecked(true);
    form.CheckBox4->setChecked(true);
}

struct Windows {
    ui::ScriptedDialogs dialogs;
    Windows() {
        ui::createWindows(dialogs);
        Form1->show();
        // The map view alone at 1920 x 1080 pixels of cells.
        Form1->DrawGrid1->resize(1920 + 4 + 20, 1080 + 4 + 20);
        QApplication::processEvents();
    }
    ~Windows() { ui::destroyWindows(); }
};

void fullRepaint(benchmark::State& state) {
    Windows windows;
    prepareMap(*Form1, int(state.range(0)));
    ui::DrawGrid& grid = *Form1->DrawGrid1;
    grid.horizontalScrollBar()->setValue(int(state.range(0)) / 2 - 1);
    grid.verticalScrollBar()->setValue(int(state.range(0)) / 2 - 1);
    QImage image(1920, 1080, QImage::Format_RGB32);
    const QRegion all(image.rect());
    for (auto _ : state) {
        QPainter painter(&image);
        grid.paintCells(painter, all, true);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
// A 32 x 32 map fills only 512 x 512 pixels of the view; 128 x 128 fills all of it.
BENCHMARK(fullRepaint)->Arg(32)->Arg(128)->Arg(4096)->Unit(benchmark::kMillisecond);

// The same full repaint of the largest map at each zoom level (the argument indexes
// kZoomLevels; 4 is the start-up 16 pixels a cell), both overlays on.
void zoomedRepaint(benchmark::State& state) {
    Windows windows;
    prepareMap(*Form1, 4096);
    ui::DrawGrid& grid = *Form1->DrawGrid1;
    grid.setZoom(int(state.range(0)), grid.viewport()->rect().center());
    grid.centreOn(2048, 2048);
    QImage image(1920, 1080, QImage::Format_RGB32);
    const QRegion all(image.rect());
    {
        QPainter warm(&image);  // the level's tile pictures are made at its first paint
        grid.paintCells(warm, all, true);
    }
    for (auto _ : state) {
        QPainter painter(&image);
        grid.paintCells(painter, all, true);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    const ui::ZoomLevel level = ui::kZoomLevels[std::size_t(state.range(0))];
    state.SetLabel(std::to_string(level.pixels) + " px / " + std::to_string(level.cells) + " cell");
}
BENCHMARK(zoomedRepaint)->DenseRange(0, 15)->Unit(benchmark::kMillisecond);

// A zoom step from the key to the painted view, one level out and back in turn, and
// the fit from 16 pixels a cell; each is painted as the view paints.
void zoomStep(benchmark::State& state) {
    Windows windows;
    prepareMap(*Form1, 4096);
    ui::DrawGrid& grid = *Form1->DrawGrid1;
    grid.centreOn(2048, 2048);
    QApplication::processEvents();
    bool out = true;
    for (auto _ : state) {
        Form1->DrawGrid1->zoomStep(out ? -1 : 1);
        out = !out;
        grid.viewport()->repaint();
    }
}
BENCHMARK(zoomStep)->Unit(benchmark::kMillisecond);

void fitFromSixteen(benchmark::State& state) {
    Windows windows;
    prepareMap(*Form1, 4096);
    ui::DrawGrid& grid = *Form1->DrawGrid1;
    QApplication::processEvents();
    for (auto _ : state) {
        state.PauseTiming();
        grid.setZoom(ui::kStartZoom, grid.viewport()->rect().center());
        grid.viewport()->repaint();
        state.ResumeTiming();
        grid.zoomToFit();
        grid.viewport()->repaint();
    }
}
BENCHMARK(fitFromSixteen)->Unit(benchmark::kMillisecond);

// The first repaint after the sheet is replaced, when no cell has been drawn from it
// yet. Two sheets of the same size and pixels take turns, so each paint meets a sheet
// it has not drawn from.
void firstRepaintAfterSheetLoad(benchmark::State& state) {
    Windows windows;
    prepareMap(*Form1, 4096);
    ui::DrawGrid& grid = *Form1->DrawGrid1;
    grid.horizontalScrollBar()->setValue(2047);
    grid.verticalScrollBar()->setValue(2047);
    core::Bitmap other = benchSheet();
    QImage image(1920, 1080, QImage::Format_RGB32);
    const QRegion all(image.rect());
    for (auto _ : state) {
        std::swap(Form1->TileSheet, other);
        QPainter painter(&image);
        grid.paintCells(painter, all, true);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(firstRepaintAfterSheetLoad)->Unit(benchmark::kMillisecond);

void fill4096(benchmark::State& state) {
    core::EditorState editor;
    editor.Map = core::TileMap(4096, 4096);
    editor.MapWidth = editor.MapHeight = 4096;
    for (auto _ : state) {
        ++editor.SelectedTile;
        core::fillMap(editor);
        benchmark::DoNotOptimize(editor.Map[4095][4095]);
    }
}
BENCHMARK(fill4096)->Unit(benchmark::kMillisecond);

// One drag step: the stamp of a 32 x 32 block at the next cell, then the paint of
// what it invalidated and the two cells the view moved between.
void dragStep32(benchmark::State& state) {
    Windows windows;
    prepareMap(*Form1, 4096);
    Form1->Edit5->setText("32");
    Form1->Edit6->setText("32");
    Form1->SelectedTile = 0;
    ui::DrawGrid& grid = *Form1->DrawGrid1;
    QApplication::processEvents();
    int col = 1;
    for (auto _ : state) {
        col = col % 60 + 1;
        bool canSelect = true;
        Form1->DrawGrid1SelectCell(col, 1, canSelect);
        grid.setCol(col);
        grid.viewport()->repaint(QRect(0, 0, 1920, 1080) & QRect(QPoint(16 + (col - grid.gridGeometry().leftCol) * 16, 16), QSize(512, 512)));
        QApplication::processEvents();
    }
}
BENCHMARK(dragStep32)->Unit(benchmark::kMillisecond);

}  // namespace

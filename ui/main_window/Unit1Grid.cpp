// The map view's handlers: cell drawing, the release repaint and the overlay check
// boxes.
#include <QCheckBox>
#include <QPainter>
#include <algorithm>
#include <climits>
#include <cstdint>

#include "core/project/integer_syntax.h"

#include "ui/main_window/Unit1.h"
#include "ui/map_view/CellPainter.h"
#include "ui/map_view/DrawGrid.h"
#include "ui/convert/Cp932.h"
#include "ui/toolkit/Dialogs.h"

void TForm1::DrawGrid1DrawCell(QPainter& canvas, int ACol, int ARow, const QRect& Rect, bool fixed) {
    if (fixed) {
        if (ARow == 0 && ACol >= 1) cellPainter_->drawNumber(canvas, DrawGrid1->font(), std::uint32_t(ACol - 1), Rect);
        else if (ACol == 0 && ARow >= 1) cellPainter_->drawNumber(canvas, DrawGrid1->font(), std::uint32_t(ARow - 1), Rect);
        return;
    }
    // The grid's counts follow the map; a cell beyond the array has nothing to show.
    const auto y = static_cast<std::size_t>(ARow - 1);
    const auto x = static_cast<std::size_t>(ACol - 1);
    if (y >= Map.size() || x >= Map[y].size()) return;
    const core::Cell tile = Map[y][x];
    const ui::CellPainter::Overlays overlays{CheckBox4->isChecked(), CheckBox1->isChecked()};
    cellPainter_->drawMapCell(canvas, DrawGrid1->font(), TileSheet, SheetColumns, tile, overlays, Rect);
}

void TForm1::drawMapArea(QPainter& canvas, const QRect& target, int col, int row, ui::ZoomLevel level) {
    cellPainter_->drawArea(canvas, target, Map, TileSheet, SheetColumns, col - 1, row - 1, level, CheckBox4->isChecked());
}

void TForm1::DrawGrid1MouseUp(Qt::MouseButton) { DrawGrid1->repaintAll(); }

void TForm1::zoomIn() { DrawGrid1->zoomStep(1); }
void TForm1::zoomOut() { DrawGrid1->zoomStep(-1); }
void TForm1::zoomReset() { DrawGrid1->setZoom(ui::kStartZoom, DrawGrid1->viewport()->rect().center()); }
void TForm1::zoomFit() { DrawGrid1->zoomToFit(); }

// Values beyond the map go to its edge; the current cell stays where it is.
void TForm1::goToCell() {
    const auto typed = dialogs().askCell(this);
    if (!typed) return;
    const std::int32_t x = core::toInteger(ui::toCp932(typed->first));
    const std::int32_t y = core::toInteger(ui::toCp932(typed->second));
    const auto grid = [](std::int32_t value) { return int(std::clamp<std::int64_t>(std::int64_t{value} + 1, 1, INT32_MAX)); };
    DrawGrid1->centreOn(grid(x), grid(y));
}

void TForm1::CheckBox1Click() { DrawGrid1->repaintAll(); }

void TForm1::CheckBox4Click() { DrawGrid1->repaintAll(); }

// The map view's handlers: cell drawing, the release repaint and the overlay check
// boxes.
#include <QCheckBox>
#include <QPainter>

#include "ui/main_window/Unit1.h"
#include "ui/map_view/CellPainter.h"
#include "ui/map_view/DrawGrid.h"

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

void TForm1::DrawGrid1MouseUp(Qt::MouseButton) { DrawGrid1->repaintAll(); }

void TForm1::CheckBox1Click() { DrawGrid1->repaintAll(); }

void TForm1::CheckBox4Click() { DrawGrid1->repaintAll(); }

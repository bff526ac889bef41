// The edits of the map on the main window: stamping at the view's cell-selection
// event, the fill, and the one member through which every change of the map's cells
// or size reaches the document and the view.
#include <QLineEdit>

#include "core/integer_syntax.h"
#include "core/map_edit.h"
#include "core/stamp.h"
#include "ui/Cp932.h"
#include "ui/DrawGrid.h"
#include "ui/SheetView.h"
#include "ui/Unit1.h"

void TForm1::DrawGrid1SelectCell(int ACol, int ARow, bool& CanSelect) {
    // The height field is read first: with both fields wrong, its text is the one named.
    const std::int32_t blockHeight = core::toInteger(ui::toCp932(Edit6->text()));
    const std::int32_t blockWidth = core::toInteger(ui::toCp932(Edit5->text()));
    const std::int32_t tiles = core::sheetTileCount(Image1->width(), Image1->height());
    applyMapChange(core::stampBlock(*this, ACol, ARow, blockWidth, blockHeight, tiles));
    CanSelect = true;
}

void TForm1::Button2Click() { applyMapChange(core::fillMap(*this)); }

void TForm1::applyMapChange(const core::MapChange& change) {
    if (core::marksModified(change)) Modified = true;
    if (change.edit == core::MapEdit::Stamp) {
        // The view redraws only the two cells it moves between; the rest of the block
        // would otherwise wait for the next whole repaint.
        const core::CellArea& cells = change.cells;
        DrawGrid1->invalidateCells(cells.left + 1, cells.top + 1, cells.width, cells.height);
        return;
    }
    if (change.edit != core::MapEdit::Fill) {
        // Set once the map has its new size, so a current cell the counts move sees it.
        DrawGrid1->setColCount(change.after.width + 1);
        DrawGrid1->setRowCount(change.after.height + 1);
    }
    DrawGrid1->repaintAll();
}

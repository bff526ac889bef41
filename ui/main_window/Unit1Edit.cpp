// The edits of the map on the main window: stamping at the view's cell-selection
// event, the fill, the path through which every change of the map's cells or size
// reaches the history, the document and the view, and undo and redo.
#include <QLineEdit>

#include "core/map/map_edit.h"
#include "core/map/stamp.h"
#include "core/project/integer_syntax.h"
#include "ui/main_window/Unit1.h"
#include "ui/recovery/RecoveryKeeper.h"
#include "ui/map_view/DrawGrid.h"
#include "ui/settings_window/SettingsSizeFields.h"
#include "ui/sheet/SheetView.h"
#include "ui/convert/Cp932.h"

void TForm1::DrawGrid1SelectCell(int ACol, int ARow, bool& CanSelect) {
    // The height field is read first: with both fields wrong, its text is the one named.
    const std::int32_t blockHeight = core::toInteger(ui::toCp932(Edit6->text()));
    const std::int32_t blockWidth = core::toInteger(ui::toCp932(Edit5->text()));
    const std::int32_t tiles = core::sheetTileCount(Image1->width(), Image1->height());
    // A stamp by a key or the wheel is a step of its own; in a drag it joins the drag's.
    const ui::MapHistory::Step step(*history_);
    prepareMapChange(core::plannedStamp(*this, ACol, ARow, blockWidth, blockHeight));
    applyMapChange(core::stampBlock(*this, ACol, ARow, blockWidth, blockHeight, tiles));
    CanSelect = true;
}

void TForm1::Button2Click() {
    const ui::MapHistory::Step step(*history_);
    prepareMapChange(core::plannedFill(Map));
    applyMapChange(core::fillMap(*this));
}

void TForm1::prepareMapChange(const core::MapChange& planned) { history_->prepare(Map, planned); }

void TForm1::applyMapChange(const core::MapChange& change) {
    history_->record(change);
    if (core::marksModified(change)) {
        Modified = true;
        recovery_->documentChanged();
    }
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

void TForm1::undoMapEdit() { history_->undo(); }

void TForm1::redoMapEdit() { history_->redo(); }

void TForm1::markSaved() {
    Modified = false;
    history_->markSaved();
}

void TForm1::markModifiedOutsideHistory() {
    Modified = true;
    history_->leaveSaved();
    recovery_->documentChanged();
}

ui::SizeFieldTexts TForm1::sizeFieldTexts() const { return ui::currentSizeFieldTexts(); }

void TForm1::restoreSizeFieldTexts(const ui::SizeFieldTexts& texts) { ui::restoreSizeFieldTexts(texts); }

// The size an undo or a redo leaves is the one MapWidth and MapHeight now hold.
void TForm1::showRevisitedMap(bool saved) {
    Modified = !saved;
    // Back at the saved state nothing is left to recover.
    if (saved)
        recovery_->documentSettled();
    else
        recovery_->documentChanged();
    DrawGrid1->setColCount(MapWidth + 1);
    DrawGrid1->setRowCount(MapHeight + 1);
    DrawGrid1->repaintAll();
}

// The tile sheet on the main window: loading it, picking tiles and the block frame.
#include <QFile>
#include <QLineEdit>

#include "core/bmp/sheet_file.h"
#include "core/map/tile_geometry.h"
#include "core/project/integer_syntax.h"
#include "core/text/failures.h"
#include "ui/main_window/Unit1.h"
#include "ui/map_view/CellPainter.h"
#include "ui/map_view/DrawGrid.h"
#include "ui/sheet/PictureDialog.h"
#include "ui/sheet/SheetFrame.h"
#include "ui/sheet/SheetImage.h"
#include "ui/sheet/SheetView.h"
#include "ui/convert/CorePaths.h"
#include "ui/convert/Cp932.h"
#include "ui/toolkit/Dialogs.h"

namespace {

std::int32_t fieldValue(const QLineEdit& field) { return core::toInteger(ui::toCp932(field.text())); }

}  // namespace

void TForm1::Button1Click() {
    const auto chosen = dialogs().openPicture(this, ui::pictureDialogOptions(pictureDialogName));
    if (!chosen) return;
    // The dialog proposes what it returned last, accepted or not.
    pictureDialogName = *chosen;
    // A path outside the code page could be neither shown faithfully nor saved in a
    // project, so it is refused before the editor state takes it.
    if (!ui::fitsCp932(*chosen)) throw core::FileOpenFailure(ui::toCp932(*chosen));
    ImagePath = ui::toCp932(*chosen);
    LoadImage();
    DrawFrameTile();
    DrawGrid1->repaintAll();
}

void TForm1::N4Click() { Button1Click(); }

void TForm1::LoadImage() {
    const std::string path = ui::corePath(ui::fromCp932(ImagePath));
    core::Bitmap sheet = core::readSheetFile(path, ImagePath, ui::admitPicture);
    // Everything that can fail happens before the state changes, so a failed load leaves
    // it whole. The old sheet's picture goes before the new one is made, so that a load
    // holds the new sheet and one picture of it, never two.
    Image1->setPicture(QImage());
    const QImage shown = ui::toQImage(sheet);
    TileSheet = std::move(sheet);
    cellPainter_->sheetReplaced();
    Image1->setPicture(shown);
    Image1->resize(TileSheet.width, TileSheet.height);
    updateScrollExtents();
    // From the sheet itself: a widget's size is capped far below what a sheet may hold.
    SheetColumns = core::sheetColumnsOf(TileSheet.width);
    Edit4->setText(QString::number(SheetColumns));
    markModifiedOutsideHistory();
}

void TForm1::DrawFrameTile() {
    if (TileSheet.empty()) return;
    // The clean sheet goes up first: a field that fails below leaves no stale frame.
    // The picture shown goes before its successor is made, and the frame is drawn into
    // the one shown, so that the sheet is never held in more than one picture.
    Image1->setPicture(QImage());
    Image1->setPicture(ui::toQImage(TileSheet));
    const std::int32_t blockHeight = fieldValue(*Edit6);
    const std::int32_t blockWidth = fieldValue(*Edit5);
    // A sheet narrower than one tile has no columns to place the block in: no frame.
    const auto frame = core::blockFrame(SelectedTile, SheetColumns, blockWidth, blockHeight);
    if (!frame) return;
    Image1->drawOnPicture([&](QImage& shown) { ui::drawFrame(shown, *frame); });
}

void TForm1::Image1MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y) {
    SelectedTile = core::tileAt(X, Y, SheetColumns);
    Edit1->setText(QString::number(SelectedTile));
    DrawFrameTile();
}

void TForm1::Edit1Exit() { SelectedTile = fieldValue(*Edit1); }

void TForm1::Edit5Change() { DrawFrameTile(); }

void TForm1::Edit6Change() { DrawFrameTile(); }

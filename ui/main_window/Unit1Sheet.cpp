// The tile sheet on the main window: loading it, picking tiles and the block frame.
#include <QLineEdit>
#include <string_view>

#include "core/map/tile_geometry.h"
#include "core/project/integer_syntax.h"
#include "core/text/failures.h"
#include "ui/main_window/Unit1.h"
#include "ui/map_view/CellPainter.h"
#include "ui/map_view/DrawGrid.h"
#include "ui/sheet/PictureDialog.h"
#include "ui/sheet/SheetFile.h"
#include "ui/sheet/SheetFrame.h"
#include "ui/sheet/SheetImage.h"
#include "ui/sheet/SheetView.h"
#include "ui/toolkit/Cp932.h"
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
    const QByteArray bytes = ui::readSheetFile(ImagePath);
    core::Bitmap sheet = core::decodeBmp(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    // Everything that can fail happens before the state changes, so a failed load leaves it whole.
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
    QImage shown = ui::toQImage(TileSheet);
    // The clean sheet goes up first: a field that fails below leaves no stale frame.
    Image1->setPicture(shown);
    const std::int32_t blockHeight = fieldValue(*Edit6);
    const std::int32_t blockWidth = fieldValue(*Edit5);
    // A sheet narrower than one tile has no columns to place the block in: no frame.
    const auto frame = core::blockFrame(SelectedTile, SheetColumns, blockWidth, blockHeight);
    if (!frame) return;
    ui::drawFrame(shown, *frame);
    Image1->setPicture(shown);
}

void TForm1::Image1MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y) {
    SelectedTile = core::tileAt(X, Y, SheetColumns);
    Edit1->setText(QString::number(SelectedTile));
    DrawFrameTile();
}

void TForm1::Edit1Exit() { SelectedTile = fieldValue(*Edit1); }

void TForm1::Edit5Change() { DrawFrameTile(); }

void TForm1::Edit6Change() { DrawFrameTile(); }

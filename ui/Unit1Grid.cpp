// The map view's handlers: cell drawing, the release repaint and the overlay check
// boxes.
#include <QCheckBox>
#include <QImage>
#include <QPainter>
#include <memory>
#include <unordered_map>

#include "core/tile_geometry.h"
#include "ui/DrawGrid.h"
#include "ui/OpaqueNumbers.h"
#include "ui/Unit1.h"

namespace {

constexpr QPoint kTextOffset{1, 2};

// What cell drawing keeps between cells of one window: the tile sheet seen as an
// image (it shares TileSheet's pixels, so it is rebuilt only when the sheet is
// replaced) and the rendered digits.
struct CellPainting {
    const void* sheetPixels = nullptr;
    int sheetWidth = 0;
    int sheetHeight = 0;
    QImage sheet;
    ui::OpaqueNumbers numbers;
};

std::unordered_map<const TForm1*, std::unique_ptr<CellPainting>>& cellPaintings() {
    static std::unordered_map<const TForm1*, std::unique_ptr<CellPainting>> paintings;
    return paintings;
}

CellPainting& cellPaintingOf(TForm1& form) {
    auto& paintings = cellPaintings();
    auto found = paintings.find(&form);
    if (found != paintings.end()) return *found->second;
    QObject::connect(&form, &QObject::destroyed, [key = &form] { cellPaintings().erase(key); });
    return *paintings.emplace(&form, std::make_unique<CellPainting>()).first->second;
}

// The sheet as an image over TileSheet's own pixels (0xFFRRGGBB, row by row), or a
// null image when no sheet is loaded.
const QImage& sheetImage(CellPainting& painting, const core::Bitmap& sheet) {
    const void* pixels = sheet.pixels.data();
    if (pixels != painting.sheetPixels || sheet.width != painting.sheetWidth ||
        sheet.height != painting.sheetHeight) {
        painting.sheetPixels = pixels;
        painting.sheetWidth = sheet.width;
        painting.sheetHeight = sheet.height;
        const bool whole = !sheet.empty() &&
                           sheet.pixels.size() == static_cast<std::size_t>(sheet.width) * sheet.height;
        painting.sheet = whole ? QImage(reinterpret_cast<const uchar*>(sheet.pixels.data()), sheet.width,
                                        sheet.height, sheet.width * 4, QImage::Format_RGB32)
                               : QImage();
    }
    return painting.sheet;
}

// Copies tile `tile` onto the cell at twice its size. A tile whose square is not
// wholly on the sheet, or a sheet without a whole tile column, leaves the cell's
// background.
void drawTile(QPainter& painter, const QImage& sheet, int sheetColumns, core::Cell tile, const QRect& cell) {
    if (sheet.isNull()) return;
    const auto square = core::tileRect(tile, sheetColumns);
    if (!square || square->right > sheet.width() || square->bottom > sheet.height()) return;
    painter.drawImage(cell, sheet, QRect(int(square->left), int(square->top), core::kTileSize, core::kTileSize));
}

// The right pixel column and the bottom pixel row without its leftmost pixel.
void drawBorder(QPainter& painter, const QRect& cell) {
    static const QBrush black(QColor(0, 0, 0));
    painter.fillRect(QRect(cell.right(), cell.top(), 1, cell.height()), black);
    painter.fillRect(QRect(cell.left() + 1, cell.bottom(), cell.width() - 1, 1), black);
}

}  // namespace

void TForm1::DrawGrid1DrawCell(QPainter& canvas, int ACol, int ARow, const QRect& Rect, bool fixed) {
    CellPainting& painting = cellPaintingOf(*this);
    const QColor text = canvas.pen().color();
    const QColor box = canvas.brush().color();
    const QPoint textAt = Rect.topLeft() + kTextOffset;
    if (fixed) {
        if (ARow == 0 && ACol >= 1)
            painting.numbers.draw(canvas, DrawGrid1->font(), textAt, std::uint32_t(ACol - 1), text, box, Rect);
        else if (ACol == 0 && ARow >= 1)
            painting.numbers.draw(canvas, DrawGrid1->font(), textAt, std::uint32_t(ARow - 1), text, box, Rect);
        return;
    }
    // The grid's counts follow the map; a cell beyond the array has nothing to show.
    const auto y = static_cast<std::size_t>(ARow - 1);
    const auto x = static_cast<std::size_t>(ACol - 1);
    if (y >= Map.size() || x >= Map[y].size()) return;
    const core::Cell tile = Map[y][x];
    drawTile(canvas, sheetImage(painting, TileSheet), SheetColumns, tile, Rect);
    if (CheckBox4->isChecked()) drawBorder(canvas, Rect);
    if (CheckBox1->isChecked()) painting.numbers.draw(canvas, DrawGrid1->font(), textAt, tile, text, box, Rect);
}

void TForm1::DrawGrid1MouseUp(Qt::MouseButton) { DrawGrid1->repaintAll(); }

void TForm1::CheckBox1Click() { DrawGrid1->repaintAll(); }

void TForm1::CheckBox4Click() { DrawGrid1->repaintAll(); }

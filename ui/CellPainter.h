#pragma once
// What the main window draws into a map view cell: header numbers, the cell's tile
// from the sheet at twice its size, the border and the tile number. It keeps what
// drawing needs between cells: the sheet seen as an image and the rendered digits.
#include <QImage>

#include "core/editor_state.h"
#include "ui/OpaqueNumbers.h"

class QFont;
class QPainter;
class QRect;

namespace ui {

class CellPainter {
public:
    // The painter's pen holds the text colour and its brush the colour of the box
    // behind the text, the cell's background.
    void drawNumber(QPainter& painter, const QFont& font, std::uint32_t value, const QRect& cell);
    // Copies tile `tile` onto the cell at twice its size. A tile whose square is not
    // wholly on the sheet, or a sheet without a whole tile column, leaves the
    // cell's background.
    void drawTile(QPainter& painter, const core::Bitmap& sheet, int sheetColumns, core::Cell tile, const QRect& cell);
    // The right pixel column and the bottom pixel row without its leftmost pixel.
    static void drawBorder(QPainter& painter, const QRect& cell);

private:
    // The sheet as an image over the bitmap's own pixels (0xFFRRGGBB, row by row),
    // rebuilt only when the sheet is replaced; a null image when none is loaded.
    const QImage& sheetImage(const core::Bitmap& sheet);

    const void* sheetPixels_ = nullptr;
    int sheetWidth_ = 0;
    int sheetHeight_ = 0;
    QImage sheet_;
    OpaqueNumbers numbers_;
};

}  // namespace ui

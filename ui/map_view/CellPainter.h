#pragma once
// What the main window draws into a map view cell: header numbers, the cell's tile
// from the sheet at twice its size, the border and the tile number. It keeps what
// drawing needs between cells: the sheet seen as an image, the rendered digits and
// each map cell's finished picture.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QRgb>
#include <QSize>
#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/map/editor_state.h"
#include "ui/map_view/OpaqueNumbers.h"
#include "ui/map_view/ZoomLevel.h"

class QPainter;
class QRect;

namespace ui {

class CellPainter {
public:
    // What a map cell shows besides its tile.
    struct Overlays {
        bool border = false;
        bool number = false;
    };

    // The painter's pen holds the text colour and its brush the colour of the box
    // behind the text, the cell's background.
    void drawNumber(QPainter& painter, const QFont& font, std::uint32_t value, const QRect& cell);
    // Copies tile `tile` onto the cell at twice its size. A tile whose square is not
    // wholly on the sheet, or a sheet without a whole tile column, leaves the
    // cell's background.
    void drawTile(QPainter& painter, const core::Bitmap& sheet, int sheetColumns, core::Cell tile, const QRect& cell);
    // The right pixel column and the bottom pixel row without its leftmost pixel.
    static void drawBorder(QPainter& painter, const QRect& cell);

    // A map cell whole: its background (the painter's brush), the tile, then the
    // overlays, as drawTile, drawBorder and drawNumber draw them one after the other.
    // A full view has thousands of cells and few distinct ones, so each distinct
    // cell is composed once and then copied in one piece: a painter call per cell
    // instead of five to seven.
    void drawMapCell(QPainter& painter, const QFont& font, const core::Bitmap& sheet, int sheetColumns,
                     core::Cell tile, Overlays overlays, const QRect& cell);
    // The map cells of a zoomed-out view (below 16 pixels a cell) in one picture:
    // `target` starts at map cell (firstColumn, firstRow) and holds what fits of the
    // map at `level`; each cell is its tile scaled as drawMapCell scales it, with the
    // border from 4 pixels a cell, and below one pixel a cell each pixel shows the
    // first cell of its square. Tiles off the sheet leave the painter's brush colour.
    void drawArea(QPainter& painter, const QRect& target, const core::TileMap& map, const core::Bitmap& sheet,
                  int sheetColumns, int firstColumn, int firstRow, ZoomLevel level, bool border);
    // The sheet's pixels were replaced: what was drawn from them is dropped, even
    // when the new pixels happen to lie where the old ones did.
    void sheetReplaced();

private:
    // The sheet as an image over the bitmap's own pixels (0xFFRRGGBB, row by row),
    // rebuilt only when the sheet is replaced; a null image when none is loaded.
    const QImage& sheetImage(const core::Bitmap& sheet);
    // The cell's picture built pixel by pixel, the same pixels the three draw
    // functions above give on the background `box`.
    QImage compose(const QFont& font, const core::Bitmap& sheet, int sheetColumns, core::Cell tile,
                   Overlays overlays, QSize size, const QColor& text, const QColor& box);
    // Small index of a text and box colour pair, so a key stays one integer.
    std::uint64_t colourPairIndex(QRgb text, QRgb box);
    void dropComposed();

    const void* sheetPixels_ = nullptr;
    int sheetWidth_ = 0;
    int sheetHeight_ = 0;
    QImage sheet_;
    OpaqueNumbers numbers_;

    // Composed cells of one sheet, tile-column count and font, keyed by tile,
    // overlays and colour pair.
    std::unordered_map<std::uint64_t, QImage> composed_;
    std::vector<std::pair<QRgb, QRgb>> colourPairs_;
    std::size_t composedBytes_ = 0;
    int composedColumns_ = -1;
    QFont composedFont_;

    // The tiles of one zoomed-out level as a flat pool of pixels, a slot per tile and
    // border: looked up by index, since a full view there holds up to two million cells.
    const QRgb* levelTile(const core::Bitmap& sheet, int sheetColumns, core::Cell tile, bool border);
    std::vector<std::int32_t> levelSlots_;
    std::vector<QRgb> levelPool_;
    int levelSize_ = 0;
    QRgb levelBox_ = 0;
    int levelColumns_ = -1;
    QImage frame_;  // the picture a zoomed-out view is put together in
};

}  // namespace ui

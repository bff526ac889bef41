// Map cells copied from their composed pictures against the same cells drawn part by
// part through a painter.
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "ui/map_view/CellPainter.h"
#include "ui/toolkit/WindowFonts.h"

namespace {

const QColor kText(0, 0, 0), kWindow(255, 255, 255), kHighlight(0, 0, 128), kHighlightText(255, 255, 255);
const QRect kCell(16, 32, 16, 16);

// 40 x 24 pixels: five tile columns, three rows, every pixel its own colour.
core::Bitmap sheet() {
    core::Bitmap bitmap;
    bitmap.width = 40;
    bitmap.height = 24;
    for (int y = 0; y < bitmap.height; ++y)
        for (int x = 0; x < bitmap.width; ++x)
            bitmap.pixels.push_back(0xFF000040u | std::uint32_t(x * 5) << 16 | std::uint32_t(y * 9) << 8);
    return bitmap;
}

// The cell drawn on a green canvas, through drawMapCell or part by part.
QImage drawn(bool whole, ui::CellPainter& cells, const QFont& font, const core::Bitmap& bitmap, int columns,
             core::Cell tile, ui::CellPainter::Overlays overlays, const QColor& text, const QColor& box) {
    QImage image(48, 64, QImage::Format_RGB32);
    image.fill(QColor(0, 128, 0));
    QPainter painter(&image);
    painter.setPen(text);
    painter.setBrush(box);
    painter.fillRect(kCell, box);
    if (whole) {
        cells.drawMapCell(painter, font, bitmap, columns, tile, overlays, kCell);
    } else {
        cells.drawTile(painter, bitmap, columns, tile, kCell);
        if (overlays.border) ui::CellPainter::drawBorder(painter, kCell);
        if (overlays.number) cells.drawNumber(painter, font, tile, kCell);
    }
    return image;
}

// Tiles inside, at the edge of and beyond the sheet, numbers of one to five digits,
// every overlay combination and both colour pairs; each is drawn twice, so the
// second comes from the kept picture.
TEST(CellPainter, ComposedCellsMatchTheCellsDrawnPartByPart) {
    const QFont font = ui::windowFont(11);
    const core::Bitmap bitmap = sheet();
    ui::CellPainter reference, cells;
    for (int round = 0; round < 2; ++round)
        for (core::Cell tile : {0, 3, 4, 14, 15, 99, 12345, 65535})
            for (int overlay = 0; overlay < 4; ++overlay)
                for (bool highlighted : {false, true}) {
                    const ui::CellPainter::Overlays overlays{(overlay & 1) != 0, (overlay & 2) != 0};
                    const QColor& text = highlighted ? kHighlightText : kText;
                    const QColor& box = highlighted ? kHighlight : kWindow;
                    ASSERT_EQ(drawn(true, cells, font, bitmap, 5, tile, overlays, text, box),
                              drawn(false, reference, font, bitmap, 5, tile, overlays, text, box))
                        << "tile " << tile << " overlays " << overlay << " highlighted " << highlighted;
                }
}

// A new tile-column count, a new font and new sheet pixels each give new pictures.
TEST(CellPainter, ComposedCellsFollowColumnsFontAndSheet) {
    const QFont font = ui::windowFont(11);
    core::Bitmap bitmap = sheet();
    ui::CellPainter reference, cells;
    const ui::CellPainter::Overlays both{true, true};
    const auto matches = [&](int columns, const QFont& with) {
        return drawn(true, cells, with, bitmap, columns, 7, both, kText, kWindow) ==
               drawn(false, reference, with, bitmap, columns, 7, both, kText, kWindow);
    };
    EXPECT_TRUE(matches(5, font));
    EXPECT_TRUE(matches(4, font));
    EXPECT_TRUE(matches(4, ui::windowFont(14)));

    // Pixels changed where they lie: the owner says the sheet was replaced.
    for (auto& pixel : bitmap.pixels) pixel ^= 0x00FFFFFFu;
    cells.sheetReplaced();
    EXPECT_TRUE(matches(4, ui::windowFont(14)));
}

}  // namespace

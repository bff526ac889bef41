#pragma once
// The real windows with the load-sheet command and what the sheet view shows.
#include <QAction>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "../test_windows_fixture.h"
#include "core/bmp/bmp.h"
#include "test_sheet_files.h"
#include "ui/sheet/SheetView.h"

namespace sheettest {

class SheetWindowTest : public windowstest::WindowsTest {
protected:
    // The load-sheet command answered with `path`, through the button's own wiring.
    void chooseSheet(const QString& path) {
        dialogs.openPictureAnswers.push_back(path);
        form->Button1->click();
    }

    QImage shown() const { return form->Image1->picture(); }
    QRgb shownAt(int x, int y) const { return shown().pixel(x, y); }
};

inline constexpr QRgb kBlack = 0xFF000000;

// Whether the picture shows exactly the clean sheet of sheetColour().
inline bool showsCleanSheet(const QImage& picture) {
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) != sheetColour(x, y)) return false;
    return !picture.isNull();
}

inline bool sheetIsClean(const core::Bitmap& sheet) {
    for (int y = 0; y < sheet.height; ++y)
        for (int x = 0; x < sheet.width; ++x)
            if (sheet.pixels[static_cast<std::size_t>(y) * sheet.width + x] != sheetColour(x, y)) return false;
    return !sheet.empty();
}

// Whether the picture is the clean sheet plus, in black, exactly the outline of the
// rectangle (right and bottom exclusive) as far as it lies on the picture.
inline bool isFrameOutline(const QImage& picture, int left, int top, int right, int bottom) {
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const bool inside = x >= left && x < right && y >= top && y < bottom;
            const bool onEdge = inside && (x == left || x == right - 1 || y == top || y == bottom - 1);
            const QRgb expected = onEdge ? kBlack : sheetColour(x, y);
            if (picture.pixel(x, y) != expected) return false;
        }
    return true;
}

}  // namespace sheettest

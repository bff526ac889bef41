#pragma once
// The windows' font, "ＭＳ Ｐゴシック", which this desktop maps onto an installed
// Japanese proportional Gothic.
#include <QFont>

namespace ui {

QFont windowFont(int pixelHeight);
// Registers the substitutes; call once after the application object exists.
void useWindowFonts();

}  // namespace ui

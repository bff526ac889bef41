#include "ui/toolkit/WindowFonts.h"

#include <QStringList>

namespace ui {
namespace {
const QString kFamily = QStringLiteral(u"ＭＳ Ｐゴシック");
}

QFont windowFont(int pixelHeight) {
    QFont font(kFamily);
    font.setPixelSize(pixelHeight);
    font.setWeight(QFont::Normal);
    font.setStyle(QFont::StyleNormal);
    return font;
}

void useWindowFonts() {
    QFont::insertSubstitutions(kFamily, {QStringLiteral("IPAPGothic"), QStringLiteral(u"IPA Pゴシック"),
                                         QStringLiteral("VL PGothic"), QStringLiteral("Noto Sans CJK JP")});
}

}  // namespace ui

// The widget tests run inside the program's own application object, on the
// offscreen platform unless another one is asked for.
#include <cstdio>

#include <gtest/gtest.h>

#include "ui/toolkit/Application.h"
#include "ui/toolkit/QtTranslations.h"
#include "ui/toolkit/WindowFonts.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef QUARVEL_TEST_FONT_DIR
    // The offscreen platform of a Qt for Windows reads its fonts from one folder of
    // font files, not from the system: the same Japanese fonts as on Linux.
    if (qEnvironmentVariableIsEmpty("QT_QPA_FONTDIR")) qputenv("QT_QPA_FONTDIR", QUARVEL_TEST_FONT_DIR);
#endif
    ::testing::InitGoogleTest(&argc, argv);
    ui::Application app(argc, argv);
    if (!ui::useJapaneseQtTexts(app)) std::fputs("Qt's Japanese translations are missing\n", stderr);
    ui::useWindowFonts();
    return RUN_ALL_TESTS();
}

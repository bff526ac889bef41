// The widget tests run inside the program's own application object, on the
// offscreen platform unless another one is asked for.
#include <cstdio>

#include <gtest/gtest.h>

#include "ui/toolkit/Application.h"
#include "ui/toolkit/QtTranslations.h"
#include "ui/toolkit/WindowFonts.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    ui::Application app(argc, argv);
    if (!ui::useJapaneseQtTexts(app)) std::fputs("Qt's Japanese translations are missing\n", stderr);
    ui::useWindowFonts();
    return RUN_ALL_TESTS();
}

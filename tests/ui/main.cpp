// The widget tests run inside the program's own application object, on the
// offscreen platform unless another one is asked for.
#include <gtest/gtest.h>

#include "ui/Application.h"
#include "ui/WindowFonts.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    ui::Application app(argc, argv);
    ui::useWindowFonts();
    return RUN_ALL_TESTS();
}

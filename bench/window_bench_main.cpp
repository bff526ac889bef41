// The start of the benchmarks that drive the real windows: an offscreen application
// unless a platform is asked for, and the windows' own fonts, as the editor has them.
#include <QApplication>
#include <benchmark/benchmark.h>

#include "ui/toolkit/WindowFonts.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ui::useWindowFonts();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

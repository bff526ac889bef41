// Start-up: the title, the main window, the settings window, the command-line
// project once both exist, then the event loop.
#include "app/information_options.h"
#include "ui/Application.h"
#include "ui/Boundary.h"
#include "ui/QtDialogs.h"
#include "ui/StartUp.h"
#include "ui/WindowFonts.h"
#include "ui/Unit1.h"

int main(int argc, char* argv[]) {
    // Before the application object, which would need a display.
    if (const auto status = app::answerInformationOption(argc, argv, stdout)) return *status;
    ui::Application app(argc, argv);
    ui::QtDialogs dialogs;
    app.setFailureDialogs(&dialogs);
    ui::useWindowFonts();

    ui::createWindows(dialogs);
    // The program's own path first, as the command-line open expects.
    const QStringList arguments = QCoreApplication::arguments();
    ui::guarded(dialogs, [&] { Form1->NewOpenProject(arguments); });
    ui::showMainWindow();
    app.exec();

    ui::destroyWindows();
    app.setFailureDialogs(nullptr);
    return 0;
}

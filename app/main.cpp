// Start-up: the title, the main window, the settings window, the command-line
// project once both exist, then the event loop.
#include <cstdio>

#include "app/information_options.h"
#include "core/platform/process_start.h"
#include "ui/main_window/StartUp.h"
#include "ui/main_window/Unit1.h"
#include "ui/recovery/SessionEndSignals.h"
#include "ui/toolkit/Application.h"
#include "ui/toolkit/Boundary.h"
#include "ui/toolkit/QtDialogs.h"
#include "ui/toolkit/QtTranslations.h"
#include "ui/toolkit/WindowFonts.h"

int main(int argc, char* argv[]) {
    core::failWritesPastFileSizeLimit();
    // Before the application object, which would need a display.
    if (const auto status = app::answerInformationOption(argc, argv, stdout)) return *status;
    // Without a display Qt's own message would be an abort with advice to reinstall.
    if (!core::graphicalSessionAvailable()) {
        std::fputs("quarvel: the editor needs a graphical session (neither DISPLAY nor WAYLAND_DISPLAY is set)\n",
                   stderr);
        return 1;
    }
    ui::Application app(argc, argv);
    ui::useJapaneseQtTexts(app);
    ui::QtDialogs dialogs;
    app.setFailureDialogs(&dialogs);
    ui::useWindowFonts();

    ui::createWindows(dialogs);
    // Logging out, a closed terminal, Ctrl+C or the end of a Windows session keeps the
    // work in the recovery copy.
    const ui::SessionEndSignals sessionEnd([] { Form1->endSessionKeepingWork(); });
    // The program's own path first, as the command-line open expects.
    const QStringList arguments = QCoreApplication::arguments();
    ui::guarded(dialogs, [&] { Form1->NewOpenProject(arguments); });
    ui::showMainWindow();
    // A signal during the start has ended it already; the event loop would not see it.
    if (!sessionEnd.received()) app.exec();

    ui::destroyWindows();
    app.setFailureDialogs(nullptr);
    return 0;
}

#include "ui/main_window/StartUp.h"

#include <QGuiApplication>
#include <QScreen>

#include "ui/main_window/Unit1.h"
#include "ui/settings_window/Unit2.h"
#include "ui/toolkit/Boundary.h"
#include "ui/toolkit/WindowPlacement.h"

namespace ui {
namespace {

// A window manager reports the frame within moments of the first show; past this the
// window is taken to have none.
constexpr int kFramePatienceMs = 5000;

// Beside the main window's frame, as the main window will stand once shown. The
// settings window's own frame is not known before it is first shown, so its client
// size stands in for it.
void placeSettingsWindow() {
    const QRect mainFrame(TForm1::kScreenPosition, TForm1::kOuterSize);
    QScreen* screen = QGuiApplication::screenAt(mainFrame.topLeft());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    if (const auto corner = placeBeside(mainFrame, Form2->frameGeometry().size(), screen->availableGeometry()))
        Form2->move(*corner);
}

}  // namespace

void createWindows(Dialogs& dialogs) {
    Form1 = new TForm1(dialogs);
    guarded(dialogs, [] { Form1->FormCreate(); });
    // The native main window must exist for the settings window to be owned by it.
    Form1->winId();
    Form2 = new TForm2(dialogs, Form1);
    Form1->settingsWindow = Form2;
    guarded(dialogs, [] { Form2->FormCreate(); });
    placeSettingsWindow();
    Form2->show();
}

void showMainWindow() {
    // A window manager looks up a window's owner only when it first maps the window:
    // the settings window comes back once the main window is on the screen, so that
    // the manager keeps it above its owner. It leaves the main window active.
    const bool settingsShown = Form2->isVisible();
    if (settingsShown) Form2->hide();
    Form1->show();
    waitUntilExposed(*Form1->windowHandle(), kFramePatienceMs);
    keepOuterSize(*Form1, TForm1::kOuterSize, kFramePatienceMs);
    if (settingsShown) {
        Form2->setAttribute(Qt::WA_ShowWithoutActivating, true);
        Form2->show();
        Form2->setAttribute(Qt::WA_ShowWithoutActivating, false);
    }
}

void destroyWindows() {
    delete Form2;
    Form2 = nullptr;
    delete Form1;
    Form1 = nullptr;
}

}  // namespace ui

#pragma once
// Creating and destroying the two windows, shared by the program and the tests.
#include <QSize>

class QWidget;

namespace ui {
class Dialogs;

// The main window with its creation handler, then the settings window, shown at
// once, with its own. A failure in either creation handler is shown and the
// creation completes. Sets Form1 and Form2.
void createWindows(Dialogs& dialogs);
// Shows the main window at its outer size (frame included, once the window
// system reports the frame).
void showMainWindow();
void destroyWindows();

// Resizes `window` so that its frame rectangle takes `outer`.
void fitOuterSize(QWidget& window, QSize outer);

}  // namespace ui

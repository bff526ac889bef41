#pragma once
// Creating and destroying the two windows, shared by the program and the tests.

namespace ui {
class Dialogs;

// The main window with its creation handler, then the settings window, owned by the
// main window and shown at once beside it, with its own. A failure in either creation
// handler is shown and the creation completes. Sets Form1 and Form2.
void createWindows(Dialogs& dialogs);
// Shows the main window; its frame takes the outer size once the window system
// reports the frame.
void showMainWindow();
void destroyWindows();

}  // namespace ui

#pragma once
// A failure text too long for the message box's own label (a path of thousands of
// characters) is shown whole in a scrolled text that wraps anywhere, so the box
// stays within the screen.
class QMessageBox;

namespace ui {

// Puts the box's text into such a view where the label would run off the screen.
void keepTextOnScreen(QMessageBox& box);

}  // namespace ui

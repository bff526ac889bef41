#pragma once
// Failure boundaries: every slot and event handler of ours runs its work through
// guarded(), so a failure is shown in the failure box and never crosses Qt.
#include <functional>

namespace ui {
class Dialogs;

// Runs `action`; any exception it lets escape is shown as its failure text, after
// the mouse capture and any drag are released. Returns false when a failure was shown.
bool guarded(Dialogs& dialogs, const std::function<void()>& action);

// What must end before a failure box shows: the map view's drag, which would go on
// stamping behind the modal box. Its window sets it and clears it when it goes.
void setDragCancel(std::function<void()> cancel);

}  // namespace ui

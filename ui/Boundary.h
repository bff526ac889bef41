#pragma once
// Failure boundaries: every slot and event handler of ours runs its work through
// guarded(), so a failure is shown in the failure box and never crosses Qt.
#include <functional>

#include "core/failures.h"

namespace ui {
class Dialogs;

// Releases any mouse capture and drag, applies the full-stop rule and shows the box.
void showFailure(Dialogs& dialogs, const core::Failure& failure);
// Runs `action`; a core::Failure (std::bad_alloc as the out-of-memory failure) is shown.
// Returns false when a failure was shown.
bool guarded(Dialogs& dialogs, const std::function<void()>& action);

}  // namespace ui

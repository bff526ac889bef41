#include "core/platform/session_end_signals.h"

#include <windows.h>

namespace core {

// Nothing to install: the messages come to the program's windows.
SessionEndSignals::SessionEndSignals() = default;
SessionEndSignals::~SessionEndSignals() = default;
int SessionEndSignals::descriptor() const noexcept { return -1; }
void SessionEndSignals::drain() noexcept {}

// WM_QUERYENDSESSION asks whether the session may end: yes, since the work is kept
// in the recovery copy at once. WM_ENDSESSION with TRUE says that it ends now (when
// another program's answer came first); with FALSE, that it goes on after all.
std::optional<std::intptr_t> SessionEndSignals::sessionEndAnswer(const void* nativeMessage) noexcept {
    const auto* message = static_cast<const MSG*>(nativeMessage);
    if (!message) return std::nullopt;
    if (message->message == WM_QUERYENDSESSION) return TRUE;
    if (message->message == WM_ENDSESSION && message->wParam) return 0;
    return std::nullopt;
}

}  // namespace core

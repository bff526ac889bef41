#pragma once
// The end of the session from outside, turned into something an event loop can
// wait for. On POSIX systems logging out (SIGTERM, SIGHUP), a closed terminal
// (SIGHUP) or Ctrl+C (SIGINT): a descriptor that becomes readable when one arrives.
// On Windows the end of the session (WM_QUERYENDSESSION, WM_ENDSESSION): a window
// message the event loop hands over.
#include <cstdint>
#include <optional>

namespace core {

class SessionEndSignals {
public:
    // Installs the handlers for the life of the object (one at a time); a signal that
    // was ignored when the program started stays ignored.
    SessionEndSignals();
    SessionEndSignals(const SessionEndSignals&) = delete;
    SessionEndSignals& operator=(const SessionEndSignals&) = delete;
    // Puts the default actions back.
    ~SessionEndSignals();

    // Readable once a signal has arrived; -1 when none could be made (always on Windows).
    int descriptor() const noexcept;

    // When `nativeMessage` (a Windows MSG) says that the session ends: the answer to
    // give for it. Nothing for any other message, and always on POSIX systems.
    static std::optional<std::intptr_t> sessionEndAnswer(const void* nativeMessage) noexcept;
    // Takes what the arrivals left, so that the descriptor waits again.
    void drain() noexcept;
};

}  // namespace core

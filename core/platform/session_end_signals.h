#pragma once
// The end of the session from outside: logging out (SIGTERM, SIGHUP), a closed
// terminal (SIGHUP) or Ctrl+C (SIGINT), turned into something an event loop can
// wait for: a descriptor that becomes readable when one arrives.
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

    // Readable once a signal has arrived; -1 when none could be made.
    int descriptor() const noexcept;
    // Takes what the arrivals left, so that the descriptor waits again.
    void drain() noexcept;
};

}  // namespace core

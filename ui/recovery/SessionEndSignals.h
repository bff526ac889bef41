#pragma once
// The end of the session from outside: logging out (SIGTERM, SIGHUP), a closed
// terminal (SIGHUP) or Ctrl+C (SIGINT). The handler only wakes the event loop, which
// then runs `onSignal` on the user-interface thread.
#include <QObject>
#include <functional>

class QSocketNotifier;

namespace ui {

class SessionEndSignals : public QObject {
    Q_OBJECT
public:
    // Installs the handlers for the life of the process (one instance); a signal that
    // was ignored when the program started stays ignored.
    explicit SessionEndSignals(std::function<void()> onSignal, QObject* parent = nullptr);
    ~SessionEndSignals() override;

    // Whether a signal has been handled: then the event loop must not start again.
    bool received() const { return received_; }

private:
    std::function<void()> onSignal_;
    bool received_ = false;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace ui

#pragma once
// The end of the session from outside (SIGTERM, SIGHUP, SIGINT) in the event loop:
// the platform's signals wake it, and `onSignal` runs on the user-interface thread.
#include <QObject>
#include <functional>
#include <memory>

#include "core/platform/session_end_signals.h"

class QSocketNotifier;

namespace ui {

class SessionEndSignals : public QObject {
    Q_OBJECT
public:
    explicit SessionEndSignals(std::function<void()> onSignal, QObject* parent = nullptr);
    ~SessionEndSignals() override;

    // Whether a signal has been handled: then the event loop must not start again.
    bool received() const { return received_; }

private:
    std::function<void()> onSignal_;
    bool received_ = false;
    core::SessionEndSignals signals_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace ui

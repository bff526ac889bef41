#pragma once
// The end of the session from outside (SIGTERM, SIGHUP, SIGINT; on Windows the end
// of the session's window messages) in the event loop: the platform's signals wake
// it, or its messages pass by, and `onSignal` runs on the user-interface thread.
#include <QAbstractNativeEventFilter>
#include <QObject>
#include <functional>
#include <memory>

#include "core/platform/session_end_signals.h"

class QSocketNotifier;

namespace ui {

class SessionEndSignals : public QObject, private QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit SessionEndSignals(std::function<void()> onSignal, QObject* parent = nullptr);
    ~SessionEndSignals() override;

    // Whether a signal has been handled: then the event loop must not start again.
    bool received() const { return received_; }

private:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    void handle();

    std::function<void()> onSignal_;
    bool received_ = false;
    core::SessionEndSignals signals_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace ui

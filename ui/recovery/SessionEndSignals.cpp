#include "ui/recovery/SessionEndSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

namespace ui {

SessionEndSignals::SessionEndSignals(std::function<void()> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal)) {
    QCoreApplication::instance()->installNativeEventFilter(this);
    if (signals_.descriptor() < 0) return;
    notifier_ = new QSocketNotifier(signals_.descriptor(), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        signals_.drain();
        handle();
    });
}

// The notifier goes before the descriptor it watches.
SessionEndSignals::~SessionEndSignals() {
    QCoreApplication::instance()->removeNativeEventFilter(this);
    delete notifier_;
}

// The message is answered here, not by Qt, whose answer would close the windows and
// so ask about the unsaved changes while the session ends.
bool SessionEndSignals::nativeEventFilter(const QByteArray&, void* message, qintptr* result) {
    const auto answer = core::SessionEndSignals::sessionEndAnswer(message);
    if (!answer) return false;
    if (result) *result = *answer;
    handle();
    return true;
}

void SessionEndSignals::handle() {
    if (received_) return;
    received_ = true;
    if (onSignal_) onSignal_();
}

}  // namespace ui

#include "ui/recovery/SessionEndSignals.h"

#include <QSocketNotifier>

namespace ui {

SessionEndSignals::SessionEndSignals(std::function<void()> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal)) {
    if (signals_.descriptor() < 0) return;
    notifier_ = new QSocketNotifier(signals_.descriptor(), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        signals_.drain();
        if (received_) return;
        received_ = true;
        if (onSignal_) onSignal_();
    });
}

// The notifier goes before the descriptor it watches.
SessionEndSignals::~SessionEndSignals() { delete notifier_; }

}  // namespace ui

#pragma once
// Runs a callback when the keyboard focus leaves a widget for another control of
// the same window; a window losing activation or a menu opening does not count.
#include <QObject>
#include <functional>

namespace ui {

class FocusOutWatcher : public QObject {
    Q_OBJECT
public:
    FocusOutWatcher(QObject* watched, std::function<void()> onFocusOut);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> onFocusOut_;
};

}  // namespace ui

#include "ui/toolkit/WindowPlacement.h"

#include <QEvent>
#include <QEventLoop>
#include <QMargins>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace ui {
namespace {

QSize frameExtra(const QMargins& margins) {
    return {margins.left() + margins.right(), margins.top() + margins.bottom()};
}

// Watches the native window: the frame arrives with a move, a resize or an exposure,
// and is read once Qt has taken the event in. Only a change of the frame refits, so a
// size the user gives the window meanwhile stays.
class OuterSizeKeeper : public QObject {
public:
    OuterSizeKeeper(QWidget& window, QSize outer, int patienceMs)
        : QObject(&window), widget_(&window), outer_(outer) {
        window.windowHandle()->installEventFilter(this);
        QTimer::singleShot(patienceMs, this, &QObject::deleteLater);
        frame_ = window.windowHandle()->frameMargins();
        window.resize(outer_ - frameExtra(frame_));
        finishOnceFramed();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Expose:
            QMetaObject::invokeMethod(this, &OuterSizeKeeper::fit, Qt::QueuedConnection);
            break;
        default:
            break;
        }
        return false;
    }

private:
    void fit() {
        if (!widget_ || !widget_->windowHandle()) return;
        const QMargins frame = widget_->windowHandle()->frameMargins();
        if (frame != frame_) {
            frame_ = frame;
            widget_->resize(outer_ - frameExtra(frame));
        }
        finishOnceFramed();
    }

    void finishOnceFramed() {
        if (!frame_.isNull() && widget_->windowHandle()->isExposed()) deleteLater();
    }

    QPointer<QWidget> widget_;
    QSize outer_;
    QMargins frame_;
};

// Ends `loop` when the watched window is exposed.
class ExposureWatcher : public QObject {
public:
    ExposureWatcher(QWindow& window, QEventLoop& loop) : window_(window), loop_(loop) {
        window.installEventFilter(this);
    }
    ~ExposureWatcher() override { window_.removeEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Expose)
            QMetaObject::invokeMethod(this, [this] { if (window_.isExposed()) loop_.quit(); }, Qt::QueuedConnection);
        return false;
    }

private:
    QWindow& window_;
    QEventLoop& loop_;
};

}  // namespace

std::optional<QPoint> placeBeside(const QRect& owner, QSize frame, const QRect& available) {
    if (frame.height() > available.height()) return std::nullopt;
    const int top = std::clamp(owner.top(), available.top(), available.bottom() + 1 - frame.height());
    const int rightOfOwner = owner.right() + 1;
    if (rightOfOwner >= available.left() && rightOfOwner + frame.width() <= available.right() + 1)
        return QPoint(rightOfOwner, top);
    const int leftOfOwner = owner.left() - frame.width();
    if (leftOfOwner >= available.left() && owner.left() <= available.right() + 1)
        return QPoint(leftOfOwner, top);
    return std::nullopt;
}

void waitUntilExposed(QWindow& window, int limitMs) {
    if (window.isExposed()) return;
    QEventLoop loop;
    ExposureWatcher watcher(window, loop);
    QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
    loop.exec();
}

void keepOuterSize(QWidget& window, QSize outer, int patienceMs) {
    if (!window.windowHandle()) return;
    new OuterSizeKeeper(window, outer, patienceMs);
}

}  // namespace ui

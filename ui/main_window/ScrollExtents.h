#pragma once
// Keeps the main window's scrolled content as large as the largest right and
// bottom edges of its visible controls, whenever one of them moves, resizes,
// shows or hides.
#include <QObject>
#include <QSize>

class QWidget;

namespace ui {

// Largest right edge and bottom edge of the widgets not explicitly hidden.
QSize contentExtents(const QWidget& content);

class ScrollExtentsWatcher : public QObject {
    Q_OBJECT
public:
    // Watches every child of `content` that exists now.
    explicit ScrollExtentsWatcher(QWidget* content);
    void update();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* content_;
};

}  // namespace ui

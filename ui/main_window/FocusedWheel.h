#pragma once
// The wheel goes to the focused control: while the map view is its window's active
// control, a wheel turned anywhere over that window steps the view.
#include <QObject>

class QWidget;

namespace ui {
class DrawGrid;

class FocusedWheel : public QObject {
    Q_OBJECT
public:
    // Watches every wheel event of the application; lives as long as `view`.
    explicit FocusedWheel(DrawGrid* view);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    DrawGrid* view_;
};

}  // namespace ui

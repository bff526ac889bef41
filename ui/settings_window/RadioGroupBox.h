#pragma once
// A radio group's box: its frame line runs through the middle of its caption, so the
// items, placed from the top of the box, stand clear below the caption.
#include <QGroupBox>

namespace ui {

class RadioGroupBox : public QGroupBox {
    Q_OBJECT
public:
    RadioGroupBox(const QString& caption, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace ui

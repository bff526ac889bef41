#pragma once
// An up-down spinner attached to an edit field, right of it: each step writes the
// new position into the field as decimal text; the field's Up/Down keys step it too.
#include <QWidget>

class QLineEdit;

namespace ui {

class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(QLineEdit* associate, QWidget* parent = nullptr);

    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    void setRange(int min, int max);
    void setPosition(int position);
    void stepUp();
    void stepDown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* associate_;
    int min_ = 1;
    int max_ = 32;
    int position_ = 1;
};

}  // namespace ui

#include "ui/WindowControls.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/Cp932Validator.h"

namespace ui {

QLabel* makeLabel(QWidget* parent, int left, int top, const QString& caption) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->move(left, top);
    setLabelCaption(label, caption);
    return label;
}

void setLabelCaption(QLabel* label, const QString& caption) {
    label->setText(caption);
    label->resize(label->sizeHint());
}

QLineEdit* makeEdit(QWidget* parent, const QRect& place, const QString& text) {
    auto* edit = new QLineEdit(parent);
    acceptOnlyCp932(edit);
    edit->setGeometry(place);
    edit->setText(text);
    return edit;
}

QPushButton* makeButton(QWidget* parent, const QRect& place, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setAutoDefault(false);
    button->setGeometry(place);
    return button;
}

QCheckBox* makeCheckBox(QWidget* parent, const QRect& place, const QString& caption) {
    auto* box = new QCheckBox(caption, parent);
    box->setGeometry(place);
    return box;
}

}  // namespace ui

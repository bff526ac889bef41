#include "ui/toolkit/WindowControls.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>
#include <functional>

#include "ui/convert/Cp932Validator.h"

namespace ui {
namespace {

const char* const kRoomProperty = "captionRoom";
const char* const kDesignSizeProperty = "designSize";
constexpr int kLabelDesignHeight = 12;
// Narrower than this a caption is no longer readable; it is then cut instead.
constexpr int kNarrowestStretch = 60;

// Controls over the tile sheet show the button face, not the sheet.
void fillWithButtonFace(QWidget* control) {
    control->setBackgroundRole(QPalette::Button);
    control->setAutoFillBackground(true);
}

// The parent's font, narrowed (whole percent at a time) until `width` says the
// control's caption takes at most `room` pixels. The substitute for the design font
// has wider digits and Latin letters; narrowing only the captions that overflow keeps
// every other text and the layout as designed.
void fitFont(QWidget* control, int room, const std::function<int()>& width) {
    QFont font = control->parentWidget()->font();
    control->setFont(font);
    const int natural = width();
    if (natural <= room || natural <= 0) return;
    int stretch = std::max(kNarrowestStretch, 100 * room / natural);
    for (;;) {
        font.setStretch(stretch);
        control->setFont(font);
        if (width() <= room || stretch <= kNarrowestStretch) return;
        --stretch;
    }
}

// The width a check box leaves its caption beside the indicator.
int captionRoom(const QCheckBox* box) {
    QStyleOptionButton option;
    option.initFrom(box);
    return box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box).width();
}

}  // namespace

QLabel* makeLabel(QWidget* parent, int left, int top, int room, const QString& caption, int designWidth) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setProperty(kRoomProperty, room);
    label->setProperty(kDesignSizeProperty, QSize(designWidth < 0 ? room : designWidth, kLabelDesignHeight));
    fillWithButtonFace(label);
    label->move(left, top);
    setLabelCaption(label, caption);
    return label;
}

void setLabelCaption(QLabel* label, const QString& caption) {
    label->setText(caption);
    const QVariant room = label->property(kRoomProperty);
    if (room.isValid()) fitFont(label, room.toInt(), [label] { return label->sizeHint().width(); });
    label->resize(label->sizeHint().expandedTo(label->property(kDesignSizeProperty).toSize()));
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
    fillWithButtonFace(box);
    box->setGeometry(place);
    fitFont(box, captionRoom(box), [box] { return box->fontMetrics().horizontalAdvance(box->text()); });
    return box;
}

}  // namespace ui

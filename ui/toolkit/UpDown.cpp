#include "ui/toolkit/UpDown.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/project/integer_syntax.h"
#include "ui/convert/Cp932.h"

namespace ui {

namespace {

constexpr int kButtonWidth = 16;

QToolButton* arrowButton(Qt::ArrowType arrow, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    // The spinner is never a Tab stop; the field keeps the keyboard.
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    return button;
}

// A step goes on from what the field shows when that is an integer (typed text is
// honoured, brought into range first), else from the spinner's own position.
int nextPosition(const QLineEdit& field, int position, int min, int max, int delta) {
    const auto typed = core::tryParseInteger(toCp932(field.text()));
    const int base = typed ? std::clamp(*typed, min, max) : position;
    return std::clamp(base + delta, min, max);
}

// Immediately right of the field, as tall as it.
void placeBeside(QWidget& spinner, const QLineEdit& field) {
    spinner.setGeometry(field.x() + field.width(), field.y(), kButtonWidth, field.height());
}

}  // namespace

UpDown::UpDown(QLineEdit* associate, QWidget* parent)
    : QWidget(parent ? parent : associate->parentWidget()), associate_(associate) {
    setFocusPolicy(Qt::NoFocus);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* up = arrowButton(Qt::UpArrow, this);
    auto* down = arrowButton(Qt::DownArrow, this);
    column->addWidget(up);
    column->addWidget(down);
    connect(up, &QToolButton::clicked, this, [this] { stepUp(); });
    connect(down, &QToolButton::clicked, this, [this] { stepDown(); });
    associate_->installEventFilter(this);
    placeBeside(*this, *associate_);
}

void UpDown::setRange(int min, int max) {
    min_ = min;
    max_ = std::max(min, max);
    position_ = std::clamp(position_, min_, max_);
}

void UpDown::setPosition(int position) { position_ = std::clamp(position, min_, max_); }

// Writing the text is a change of the field; writing the text it already holds is not.
void UpDown::stepUp() {
    position_ = nextPosition(*associate_, position_, min_, max_, +1);
    associate_->setText(QString::number(position_));
}

void UpDown::stepDown() {
    position_ = nextPosition(*associate_, position_, min_, max_, -1);
    associate_->setText(QString::number(position_));
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched != associate_) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up) { stepUp(); return true; }
        if (key == Qt::Key_Down) { stepDown(); return true; }
        break;
    }
    case QEvent::Move:
    case QEvent::Resize:
        placeBeside(*this, *associate_);
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace ui

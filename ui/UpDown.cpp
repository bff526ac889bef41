// Placeholder until the spinner lands.
#include "ui/UpDown.h"
namespace ui {
UpDown::UpDown(QLineEdit* associate, QWidget* parent) : QWidget(parent), associate_(associate) {}
void UpDown::setRange(int min, int max) { min_ = min; max_ = max; }
void UpDown::setPosition(int position) { position_ = position; }
void UpDown::stepUp() {}
void UpDown::stepDown() {}
bool UpDown::eventFilter(QObject* watched, QEvent* event) { return QWidget::eventFilter(watched, event); }
}  // namespace ui

#include "ui/Cp932Validator.h"

#include <QLineEdit>
#include <limits>

#include "ui/Cp932.h"

namespace ui {

QValidator::State Cp932Validator::validate(QString& input, int&) const {
    return fitsCp932(input) ? Acceptable : Invalid;
}

void acceptOnlyCp932(QLineEdit* field) {
    field->setValidator(new Cp932Validator(field));
    field->setMaxLength(std::numeric_limits<int>::max());
}

}  // namespace ui

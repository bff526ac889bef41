#include "ui/Cp932Validator.h"

#include <QLineEdit>
#include <limits>

#include "ui/Cp932.h"

namespace ui {

namespace {
// A field's text is one line of a project file: a line end or Ctrl-Z in it would
// break the file's layout, so a paste holding one is refused like a foreign character.
bool holdsLineBreakOrEndOfFile(const QString& text) {
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')) || text.contains(QChar(0x1A));
}
}  // namespace

QValidator::State Cp932Validator::validate(QString& input, int&) const {
    return fitsCp932(input) && !holdsLineBreakOrEndOfFile(input) ? Acceptable : Invalid;
}

void acceptOnlyCp932(QLineEdit* field) {
    field->setValidator(new Cp932Validator(field));
    field->setMaxLength(std::numeric_limits<int>::max());
}

}  // namespace ui

#include "ui/convert/Cp932Validator.h"

#include <QLineEdit>
#include <limits>

#include "core/project/text_file_writer.h"
#include "ui/convert/Cp932.h"

namespace ui {

namespace {
// A field's text is one line of a project file: a byte no line can hold would break
// the file's layout, so a paste holding one is refused like a foreign character.
bool holdsByteNoLineHolds(const QString& text) {
    for (const char byte : core::kBytesNoLineHolds)
        if (text.contains(QLatin1Char(byte))) return true;
    return false;
}
}  // namespace

QValidator::State Cp932Validator::validate(QString& input, int&) const {
    return fitsCp932(input) && !holdsByteNoLineHolds(input) ? Acceptable : Invalid;
}

void acceptOnlyCp932(QLineEdit* field) {
    field->setValidator(new Cp932Validator(field));
    field->setMaxLength(std::numeric_limits<int>::max());
}

}  // namespace ui

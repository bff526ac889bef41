#pragma once
// Text fields of ours take only text that code page 932 holds: a character it
// cannot hold is refused as it is typed or pasted, so nothing is changed silently.
#include <QValidator>

class QLineEdit;

namespace ui {

class Cp932Validator : public QValidator {
    Q_OBJECT
public:
    explicit Cp932Validator(QObject* parent = nullptr) : QValidator(parent) {}
    State validate(QString& input, int& pos) const override;
};

// Installs the validator and lifts the field's length limit, so a long text set by
// the program (a project's size line) is kept whole.
void acceptOnlyCp932(QLineEdit* field);

}  // namespace ui

#include "ui/SettingsSizeFields.h"

#include <QLabel>
#include <QLineEdit>

#include "ui/Cp932.h"
#include "ui/Unit1.h"
#include "ui/Unit2.h"
#include "ui/WindowControls.h"

namespace ui {

std::string SettingsSizeFields::widthText() const { return toCp932(Form2->Edit2->text()); }
std::string SettingsSizeFields::heightText() const { return toCp932(Form2->Edit3->text()); }

// The field's textChanged runs its change handling, inside its own boundary,
// before setText returns.
void SettingsSizeFields::setWidthText(const std::string& text) { Form2->Edit2->setText(fromCp932(text)); }
void SettingsSizeFields::setHeightText(const std::string& text) { Form2->Edit3->setText(fromCp932(text)); }

void SettingsSizeFields::setPixelWidthText(const std::string& text) { setLabelCaption(Form2->Label6, fromCp932(text)); }
void SettingsSizeFields::setPixelHeightText(const std::string& text) {
    setLabelCaption(Form2->Label7, fromCp932(text));
}
void SettingsSizeFields::setArraySizeText(const std::string& text) { setLabelCaption(Form2->Label14, fromCp932(text)); }
void SettingsSizeFields::setDimensionText(const std::string& text) { Form2->Label10->setText(fromCp932(text)); }

void SettingsSizeFields::applyMapChange(const core::MapChange& change) { Form1->applyMapChange(change); }

}  // namespace ui

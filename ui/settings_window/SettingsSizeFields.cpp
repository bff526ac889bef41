#include "ui/settings_window/SettingsSizeFields.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include "ui/main_window/Unit1.h"
#include "ui/settings_window/Unit2.h"
#include "ui/convert/Cp932.h"
#include "ui/toolkit/WindowControls.h"

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
void SettingsSizeFields::prepareMapChange(const core::MapChange& planned) { Form1->prepareMapChange(planned); }

SizeFieldTexts currentSizeFieldTexts() {
    return {Form2->Edit2->text(),   Form2->Edit3->text(),   Form2->Label6->text(), Form2->Label7->text(),
            Form2->Label14->text(), Form2->Label10->text(), Form1->MapWidth,       Form1->MapHeight};
}

void restoreSizeFieldTexts(const SizeFieldTexts& texts) {
    {
        const QSignalBlocker width(Form2->Edit2);
        const QSignalBlocker height(Form2->Edit3);
        Form2->Edit2->setText(texts.width);
        Form2->Edit3->setText(texts.height);
    }
    Form2->settleSizeTexts();
    setLabelCaption(Form2->Label6, texts.pixelWidth);
    setLabelCaption(Form2->Label7, texts.pixelHeight);
    setLabelCaption(Form2->Label14, texts.arraySize);
    Form2->Label10->setText(texts.dimension);
    Form1->MapWidth = texts.mapWidth;
    Form1->MapHeight = texts.mapHeight;
}

}  // namespace ui

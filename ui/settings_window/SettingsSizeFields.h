#pragma once
// The size operations' view of the windows: the settings window's width and
// height fields with their derived labels, and the main window's map view.
#include "core/map/size_fields.h"
#include "ui/history/MapHistory.h"

namespace ui {

// Reaches both windows through Form1 and Form2, which must exist when it is used.
class SettingsSizeFields : public core::SizeFieldsHost {
public:
    std::string widthText() const override;
    std::string heightText() const override;
    void setWidthText(const std::string& text) override;
    void setHeightText(const std::string& text) override;
    void setPixelWidthText(const std::string& text) override;
    void setPixelHeightText(const std::string& text) override;
    void setArraySizeText(const std::string& text) override;
    void setDimensionText(const std::string& text) override;
    void applyMapChange(const core::MapChange& change) override;
    void prepareMapChange(const core::MapChange& planned) override;
};

// The size texts as they stand now, with the size they stand for.
SizeFieldTexts currentSizeFieldTexts();
// Puts the texts and the size back without running the fields' change handling.
void restoreSizeFieldTexts(const SizeFieldTexts& texts);

}  // namespace ui

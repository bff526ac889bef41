#pragma once
// The size fields without windows, keeping every text and count the windows would
// show, so that tests can read what the size operations wrote.
#include <cstdint>
#include <string>

#include "core/map/windowless_size_fields.h"

namespace testsupport {

struct PlainSizeFields : core::WindowlessSizeFields {
    explicit PlainSizeFields(core::EditorState& state)
        : WindowlessSizeFields(state), gridColCount(state.MapWidth + 1), gridRowCount(state.MapHeight + 1) {}

    void setPixelWidthText(const std::string& text) override { pixelWidth = text; }
    void setPixelHeightText(const std::string& text) override { pixelHeight = text; }
    void setArraySizeText(const std::string& text) override { arraySize = text; }
    void setDimensionText(const std::string& text) override { dimension = text; }
    // As the main window does: a resize sets the view's counts and repaints it.
    void applyMapChange(const core::MapChange& change) override {
        WindowlessSizeFields::applyMapChange(change);
        gridColCount = change.after.width + 1;
        gridRowCount = change.after.height + 1;
        ++repaintCount;
    }

    // The pixel texts start as a fresh settings window has them; the array-size and
    // dimension texts stay empty until showArraySizeTexts() first runs.
    std::string pixelWidth = core::startUpSizeTexts().pixelWidth;
    std::string pixelHeight = core::startUpSizeTexts().pixelHeight;
    std::string arraySize;
    std::string dimension;
    std::int32_t gridColCount;
    std::int32_t gridRowCount;
    int repaintCount = 0;
};

}  // namespace testsupport

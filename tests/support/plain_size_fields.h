#pragma once
// The size fields without windows, keeping every text and count the windows would
// show, so that tests can read what the size operations wrote.
#include <cstdint>
#include <string>

#include "core/windowless_size_fields.h"

namespace testsupport {

class PlainSizeFields : public core::WindowlessSizeFields {
public:
    // The derived texts start as a fresh settings window has them; the array-size and
    // dimension texts stay empty until showArraySizeTexts() first runs. The grid counts
    // follow the state's size.
    explicit PlainSizeFields(core::EditorState& state)
        : WindowlessSizeFields(state), gridColCount_(state.MapWidth + 1), gridRowCount_(state.MapHeight + 1) {}

    void setPixelWidthText(const std::string& text) override { pixelWidthText_ = text; }
    void setPixelHeightText(const std::string& text) override { pixelHeightText_ = text; }
    void setArraySizeText(const std::string& text) override { arraySizeText_ = text; }
    void setDimensionText(const std::string& text) override { dimensionText_ = text; }
    // As the main window does: a resize sets the view's counts and repaints it.
    void applyMapChange(const core::MapChange& change) override {
        WindowlessSizeFields::applyMapChange(change);
        gridColCount_ = change.after.width + 1;
        gridRowCount_ = change.after.height + 1;
        ++repaintCount_;
    }

    const std::string& pixelWidthText() const { return pixelWidthText_; }
    const std::string& pixelHeightText() const { return pixelHeightText_; }
    const std::string& arraySizeText() const { return arraySizeText_; }
    const std::string& dimensionText() const { return dimensionText_; }
    std::int32_t gridColCount() const { return gridColCount_; }
    std::int32_t gridRowCount() const { return gridRowCount_; }
    int repaintCount() const { return repaintCount_; }
    const std::vector<std::string>& shownFailures() const { return failures(); }

private:
    std::string pixelWidthText_ = core::startUpSizeTexts().pixelWidth;
    std::string pixelHeightText_ = core::startUpSizeTexts().pixelHeight;
    std::string arraySizeText_;
    std::string dimensionText_;
    std::int32_t gridColCount_;
    std::int32_t gridRowCount_;
    int repaintCount_ = 0;
};

}  // namespace testsupport

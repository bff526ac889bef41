#pragma once
// The width and height fields without windows: the texts, the derived labels and
// the map view's counts as plain values, with the fields' change handling.
#include <cstdint>
#include <string>
#include <vector>

#include "core/editor_state.h"
#include "core/size_fields.h"

namespace core {

class PlainSizeFields : public SizeFieldsHost {
public:
    // The fields start as a fresh settings window has them: "32" and "32", pixel
    // texts "256"; the array-size and dimension texts stay empty until
    // showArraySize() first runs. The grid counts follow the state's size.
    explicit PlainSizeFields(EditorState& state);

    std::string widthText() const override { return widthText_; }
    std::string heightText() const override { return heightText_; }
    // A changed text runs edit2Change / edit3Change at once; a failure there is
    // recorded in shownFailures() and the caller goes on.
    void setWidthText(const std::string& text) override;
    void setHeightText(const std::string& text) override;
    void setPixelWidthText(const std::string& text) override { pixelWidthText_ = text; }
    void setPixelHeightText(const std::string& text) override { pixelHeightText_ = text; }
    void setArraySizeText(const std::string& text) override { arraySizeText_ = text; }
    void setDimensionText(const std::string& text) override { dimensionText_ = text; }
    void setGridColCount(std::int32_t count) override { gridColCount_ = count; }
    void setGridRowCount(std::int32_t count) override { gridRowCount_ = count; }
    void repaintGrid() override { ++repaintCount_; }

    const std::string& pixelWidthText() const { return pixelWidthText_; }
    const std::string& pixelHeightText() const { return pixelHeightText_; }
    const std::string& arraySizeText() const { return arraySizeText_; }
    const std::string& dimensionText() const { return dimensionText_; }
    std::int32_t gridColCount() const { return gridColCount_; }
    std::int32_t gridRowCount() const { return gridRowCount_; }
    int repaintCount() const { return repaintCount_; }
    // The messages of the failures the change handling met, in order.
    const std::vector<std::string>& shownFailures() const { return shownFailures_; }

private:
    template <typename Handler>
    void runChangeHandling(Handler handler);

    EditorState& state_;
    std::string widthText_ = startUpSizeTexts().width;
    std::string heightText_ = startUpSizeTexts().height;
    std::string pixelWidthText_ = startUpSizeTexts().pixelWidth;
    std::string pixelHeightText_ = startUpSizeTexts().pixelHeight;
    std::string arraySizeText_;
    std::string dimensionText_;
    std::int32_t gridColCount_;
    std::int32_t gridRowCount_;
    int repaintCount_ = 0;
    std::vector<std::string> shownFailures_;
};

}  // namespace core

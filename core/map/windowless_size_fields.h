#pragma once
// The width and height fields of a program without windows (quarvel-export): the two
// texts with their change handling, so that a project opens exactly as the editor
// opens it, the 4096 cap included. Nothing shows the texts derived from them.
#include <string>
#include <vector>

#include "core/map/editor_state.h"
#include "core/map/size_fields.h"

namespace core {

class WindowlessSizeFields : public SizeFieldsHost {
public:
    // The fields start with the texts of a fresh settings window.
    explicit WindowlessSizeFields(EditorState& state);

    std::string widthText() const override { return widthText_; }
    std::string heightText() const override { return heightText_; }
    // A changed text runs applyWidthText / applyHeightText at once; a failure there is
    // kept in failures() and the caller goes on, as a window shows it and goes on.
    void setWidthText(const std::string& text) override;
    void setHeightText(const std::string& text) override;
    void setPixelWidthText(const std::string&) override {}
    void setPixelHeightText(const std::string&) override {}
    void setArraySizeText(const std::string&) override {}
    void setDimensionText(const std::string&) override {}
    // The document's own part of a change: the unsaved-changes flag.
    void applyMapChange(const MapChange& change) override;

    // The messages of the failures the change handling met, in order.
    const std::vector<std::string>& failures() const { return failures_; }

protected:
    EditorState& state_;

private:
    template <typename Handler>
    void runChangeHandling(Handler handler);

    std::string widthText_;
    std::string heightText_;
    std::vector<std::string> failures_;
};

}  // namespace core

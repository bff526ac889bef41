#include "core/map/windowless_size_fields.h"

#include <exception>

#include "core/text/failures.h"

namespace core {

WindowlessSizeFields::WindowlessSizeFields(EditorState& state)
    : state_(state), widthText_(startUpSizeTexts().width), heightText_(startUpSizeTexts().height) {}

// The change handling is a failure boundary of its own: the failure is kept there
// and whatever set the text goes on.
template <typename Handler>
void WindowlessSizeFields::runChangeHandling(Handler handler) {
    try {
        handler();
    } catch (const std::exception& escaped) {
        failures_.push_back(failureOf(escaped).message());
    }
}

void WindowlessSizeFields::applyMapChange(const MapChange& change) {
    if (marksModified(change)) state_.Modified = true;
}

void WindowlessSizeFields::setWidthText(const std::string& text) {
    if (text == widthText_) return;
    widthText_ = text;
    runChangeHandling([this] { applyWidthText(state_, *this); });
}

void WindowlessSizeFields::setHeightText(const std::string& text) {
    if (text == heightText_) return;
    heightText_ = text;
    runChangeHandling([this] { applyHeightText(state_, *this); });
}

}  // namespace core

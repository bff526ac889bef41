#include "core/plain_size_fields.h"

#include <exception>

#include "core/failures.h"

namespace core {

PlainSizeFields::PlainSizeFields(EditorState& state)
    : state_(state), gridColCount_(state.MapWidth + 1), gridRowCount_(state.MapHeight + 1) {}

// The change handling is a failure boundary of its own: the failure is shown
// there and whatever set the text goes on.
template <typename Handler>
void PlainSizeFields::runChangeHandling(Handler handler) {
    try {
        handler();
    } catch (const std::exception& escaped) {
        shownFailures_.push_back(failureOf(escaped).message());
    }
}

void PlainSizeFields::setWidthText(const std::string& text) {
    if (text == widthText_) return;
    widthText_ = text;
    runChangeHandling([this] { edit2Change(state_, *this); });
}

void PlainSizeFields::setHeightText(const std::string& text) {
    if (text == heightText_) return;
    heightText_ = text;
    runChangeHandling([this] { edit3Change(state_, *this); });
}

}  // namespace core

#include "core/map/size_fields.h"

#include <charconv>
#include <new>

#include "core/map/wrapping_arithmetic.h"
#include "core/project/integer_syntax.h"
#include "core/text/failures.h"

namespace core {
namespace {

constexpr std::int32_t kKiloStep = 10240;
constexpr char kMaxSizeText[] = "4096";

std::string decimal(std::int64_t value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return std::string(digits, end);
}


// A size must be at least 0, and its bytes must fit in 32 bits.
void checkSize(std::int32_t rows, std::int32_t columns) {
    if (rows < 0 || columns < 0) throw RangeFailure();
    if (static_cast<std::int64_t>(rows) * columns * 2 > INT32_MAX) throw RangeFailure();
}

}  // namespace

void resizeMap(TileMap& map, std::int32_t rows, std::int32_t columns) {
    checkSize(rows, columns);
    try {
        map.resize(static_cast<std::size_t>(rows), static_cast<std::size_t>(columns));
    } catch (const std::bad_alloc&) {
        throw OutOfMemoryFailure();
    }
}

MapChange resizeMap(EditorState& state, MapSize size) {
    const MapSize before = sizeOf(state.Map);
    resizeMap(state.Map, size.height, size.width);
    state.MapWidth = size.width;
    state.MapHeight = size.height;
    return {MapEdit::Resize, wholeMap(state.Map), before, size};
}

MapChange plannedResize(const TileMap& map, MapSize size) {
    return {MapEdit::Resize, {0, 0, size.width, size.height}, sizeOf(map), size};
}

std::string pixelText(std::int32_t tiles) { return decimal(wrappedProduct(tiles, 8)); }

SizeTexts startUpSizeTexts() {
    return {decimal(kStartMapWidth), decimal(kStartMapHeight), pixelText(kStartMapWidth), pixelText(kStartMapHeight)};
}

void showDerivedTexts(const EditorState& state, SizeFieldsHost& host) {
    host.setPixelWidthText(pixelText(toInteger(host.widthText())));
    host.setPixelHeightText(pixelText(toInteger(host.heightText())));
    showArraySizeTexts(state, host);
}

std::string arraySizeText(std::int32_t mapWidth, std::int32_t mapHeight) {
    const std::int32_t bytes = wrappedProduct(wrappedProduct(mapWidth, 2), mapHeight);
    std::int32_t value = bytes;
    const char* unit = "byte";
    if (value > kKiloStep) {
        value /= 1024;
        unit = "KB";
    }
    if (value > kKiloStep) {
        value /= 1024;
        unit = "MB";
    }
    return decimal(value) + unit + "(" + decimal(bytes) + "byte)";
}

std::string dimensionText(const TileMap& map) {
    const MapSize size = sizeOf(map);
    return decimal(size.width) + "," + decimal(size.height);
}

void showArraySizeTexts(const EditorState& state, SizeFieldsHost& host) {
    host.setArraySizeText(arraySizeText(state.MapWidth, state.MapHeight));
    host.setDimensionText(dimensionText(state.Map));
}

namespace {

void resizeThroughHost(EditorState& state, SizeFieldsHost& host, MapSize size) {
    host.prepareMapChange(plannedResize(state.Map, size));
    const MapChange change = resizeMap(state, size);
    showArraySizeTexts(state, host);
    host.applyMapChange(change);
}

}  // namespace

void resizeToWidthText(EditorState& state, SizeFieldsHost& host) {
    if (toInteger(host.widthText()) > kMaxMapSize) host.setWidthText(kMaxSizeText);
    resizeThroughHost(state, host, {toInteger(host.widthText()), state.MapHeight});
}

void resizeToHeightText(EditorState& state, SizeFieldsHost& host) {
    if (toInteger(host.heightText()) > kMaxMapSize) host.setHeightText(kMaxSizeText);
    resizeThroughHost(state, host, {state.MapWidth, toInteger(host.heightText())});
}

namespace {

// The shared steps of the two change handlers. A negative size is refused before
// the pixel text or the state change; a resize that fails puts the size back, so
// the state always agrees with the map.
template <typename ReadText, typename SetText, typename SetPixels, typename Apply>
void applySizeField(std::int32_t& size, ReadText readText, SetText setText, SetPixels setPixels, Apply apply) {
    if (readText().empty()) setText("1");
    const std::int32_t value = toInteger(readText());
    if (value < 0) throw RangeFailure();
    setPixels(pixelText(value));
    const std::int32_t previous = size;
    size = toInteger(readText());
    try {
        apply();
    } catch (...) {
        size = previous;
        throw;
    }
}

}  // namespace

// The view's repaint comes with the resize's change, at the end of each run.
void applyWidthText(EditorState& state, SizeFieldsHost& host) {
    applySizeField(
        state.MapWidth, [&] { return host.widthText(); }, [&](const char* text) { host.setWidthText(text); },
        [&](const std::string& text) { host.setPixelWidthText(text); }, [&] { resizeToWidthText(state, host); });
}

void applyHeightText(EditorState& state, SizeFieldsHost& host) {
    applySizeField(
        state.MapHeight, [&] { return host.heightText(); }, [&](const char* text) { host.setHeightText(text); },
        [&](const std::string& text) { host.setPixelHeightText(text); }, [&] { resizeToHeightText(state, host); });
}

}  // namespace core

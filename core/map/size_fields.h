#pragma once
// The map size as the settings window's width and height texts drive it.
#include <cstdint>
#include <string>

#include "core/map/editor_state.h"
#include "core/map/map_edit.h"

namespace core {

// What the size operations reach outside the editor state: the width and height
// fields with their derived labels, and the window that applies map changes.
class SizeFieldsHost {
public:
    virtual ~SizeFieldsHost() = default;
    virtual std::string widthText() const = 0;
    virtual std::string heightText() const = 0;
    // Setting a text that differs from the field's runs the field's change handling
    // (applyWidthText / applyHeightText) before returning; a failure in it is shown
    // there and does not leave the setter. Setting the same text runs nothing.
    virtual void setWidthText(const std::string& text) = 0;
    virtual void setHeightText(const std::string& text) = 0;
    virtual void setPixelWidthText(const std::string& text) = 0;
    virtual void setPixelHeightText(const std::string& text) = 0;
    virtual void setArraySizeText(const std::string& text) = 0;
    virtual void setDimensionText(const std::string& text) = 0;
    // What a resize, or the read of a project, did to the map: the window marks the
    // document and follows with its view.
    virtual void applyMapChange(const MapChange& change) = 0;
    // What a resize is about to do, just before it runs: a window that keeps a
    // history takes the cells the resize will cut. Others need nothing.
    virtual void prepareMapChange(const MapChange& /*planned*/) {}
};

// The decimal text of a size in pixels: tiles x 8, in wrapping 32-bit arithmetic.
std::string pixelText(std::int32_t tiles);

// The width and height texts and their pixel texts as a fresh settings window holds them.
struct SizeTexts {
    std::string width, height, pixelWidth, pixelHeight;
};
SizeTexts startUpSizeTexts();

// What the settings window's creation fills in from its fields and the map: both
// pixel texts and the array-size texts.
void showDerivedTexts(const EditorState& state, SizeFieldsHost& host);

// Resizes to `rows` rows of `columns` cells, keeping the overlap; new cells are 0.
// Negative sizes raise RangeFailure before anything changes; no memory, OutOfMemoryFailure.
void resizeMap(TileMap& map, std::int32_t rows, std::int32_t columns);
// The same for the document: MapWidth and MapHeight take the new size once the map has it.
MapChange resizeMap(EditorState& state, MapSize size);
// What that resize is about to change, known before it runs.
MapChange plannedResize(const TileMap& map, MapSize size);

// "2048byte(2048byte)", "10KB(10368byte)", "32MB(33554432byte)".
std::string arraySizeText(std::int32_t mapWidth, std::int32_t mapHeight);
// Cells of the first row, ",", rows: "32,32". A map without rows gives "0,0".
std::string dimensionText(const TileMap& map);

// Writes the array-size text and the dimension text of the map into the fields' window.
void showArraySizeTexts(const EditorState& state, SizeFieldsHost& host);
// The size operations: the field's value, a text above 4096 first set to "4096"
// (which runs the field's own change handling), becomes the map's width or height.
void resizeToWidthText(EditorState& state, SizeFieldsHost& host);
void resizeToHeightText(EditorState& state, SizeFieldsHost& host);
// The change handling of the width and height fields: an emptied field becomes "1",
// the pixel text follows, then the size operation.
void applyWidthText(EditorState& state, SizeFieldsHost& host);
void applyHeightText(EditorState& state, SizeFieldsHost& host);

}  // namespace core

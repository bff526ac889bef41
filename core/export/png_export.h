#pragma once
// A picture of the map drawn with its tile sheet: 8 × 8 pixels a cell, each a plain
// copy of its tile, written row by row so that memory does not grow with the map.
#include <cstdint>

#include "core/bmp/bmp.h"
#include "core/map/editor_state.h"

namespace core {

class TextFileWriter;

// The largest picture written: 2^28 pixels (1 GiB as RGBA), 2048 × 2048 cells.
inline constexpr std::uint64_t kMaxPicturePixels = std::uint64_t{1} << 28;

// The picture's pixel count for the state's map.
std::uint64_t picturePixels(const EditorState& state);

// Writes the map as an RGBA PNG; a cell whose tile lies outside the sheet is
// transparent. Raises RangeFailure for a picture above kMaxPicturePixels, and what
// the writer raises.
void writePng(const EditorState& state, const Bitmap& sheet, TextFileWriter& writer);

}  // namespace core

#pragma once
// The map as raw 16-bit words, row by row, with no header: what a ROM build loads
// or includes as it is.
#include "core/map/editor_state.h"

namespace core {

class TextFileWriter;

enum class ByteOrder { LittleEndian, BigEndian };

// Writes every cell as two bytes in `order`; the caller commits the writer.
void writeWords(const EditorState& state, ByteOrder order, TextFileWriter& writer);

}  // namespace core

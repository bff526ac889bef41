#pragma once
// The formats for the toolchains retro games are built with: data words for ca65,
// NASM, the Z80 assemblers (pasmo, z80asm) and RGBDS, and comma-separated values.
// At most 16 values a line, and a line never holds values of two rows.
#include "core/export/export_line_sink.h"
#include "core/map/editor_state.h"

namespace core {

// "label:", then "\t.word\t" lines.
void Output_ca65(const EditorState& state, LineSink& sink);
// "label:", then "\tdw\t" lines; `nasm -f bin` makes the map's bytes of them.
void Output_nasm(const EditorState& state, LineSink& sink);
// "label:", then "\tdw\t" lines that pasmo and z80asm both take.
void Output_z80(const EditorState& state, LineSink& sink);
// SECTION "label", ROM0, the label exported as "label::", then "\tdw\t" lines.
void Output_rgbds(const EditorState& state, LineSink& sink);
// One line a map row: its cells in decimal, separated by commas.
void Output_csv(const EditorState& state, LineSink& sink);

}  // namespace core

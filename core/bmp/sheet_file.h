#pragma once
// Reading a tile sheet from its file as the project reader reads projects: regular
// files only, opened without waiting, the headers first and then only the pixel
// bytes they call for, so a device, a pipe or a huge file costs neither time nor
// memory.
#include <string>

#include "core/bmp/bmp.h"

namespace core {

// The sheet in the file at `path` (the file system's bytes). Anything that cannot be
// opened or read as a regular file, or whose name holds a NUL byte, raises
// FileOpenFailure naming `nameInFailure`; the decoder's failures pass as they are.
// `admit` sees the sheet's size before any pixel memory is taken.
Bitmap readSheetFile(const std::string& path, const std::string& nameInFailure, const AdmitSize& admit = {});

}  // namespace core

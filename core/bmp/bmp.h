#pragma once
// Decoding of BMP tile sheets into plain pixels, without Qt.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// One 0xFFRRGGBB value per pixel, row by row from the top.
struct Bitmap {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint32_t> pixels;

    bool empty() const noexcept { return width <= 0 || height <= 0; }
};

// Decodes the bytes of a BMP file. A 0-byte file is an empty sheet. Raises
// StreamReadFailure, InvalidBitmapFailure or OutOfMemoryFailure.
Bitmap decodeBmp(std::string_view bytes);

// The bytes `fetch(offset, length)` gives of a file: as many as it still holds
// there, fewer at its end.
using FetchBytes = std::function<std::string(std::uint64_t offset, std::uint64_t length)>;
// Sees the width and height once the headers are read, before any pixel memory is
// taken; it raises to refuse them.
using AdmitSize = std::function<void(std::int32_t width, std::int32_t height)>;

// Decodes a BMP file of `fileLength` bytes that is read in parts: `head` holds its
// first bytes (the whole file, or at least its first kBmpHeadBytes), `fetch` the
// pixel data, of which only as much is asked for as the headers call for. The
// result and the failures are those of decodeBmp on the whole file.
Bitmap decodeBmpParts(std::string_view head, std::uint64_t fileLength, const FetchBytes& fetch,
                      const AdmitSize& admit);

}  // namespace core

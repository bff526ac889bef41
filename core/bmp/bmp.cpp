#include "core/bmp/bmp.h"

#include <algorithm>
#include <new>

#include "core/bmp/bmp_layout.h"
#include "core/bmp/bmp_palette.h"
#include "core/bmp/bmp_pixel_rows.h"
#include "core/bmp/bmp_run_length.h"
#include "core/text/failures.h"

namespace core {
namespace {

// The largest sheet accepted; bigger claims are refused before any allocation.
constexpr std::uint64_t kMaxPixelBytes = 256ull * 1024 * 1024;

bool isRunLength(const bmp::BmpLayout& layout) {
    return layout.compression == bmp::kRunLength8 || layout.compression == bmp::kRunLength4;
}

// The longest run-length data of a sheet without escapes that do nothing: a delta
// of one pixel takes 4 bytes, an end of line 2 a row, the end of the bitmap 2.
std::uint64_t longestRunLength(const bmp::BmpLayout& layout) {
    return 4 * static_cast<std::uint64_t>(layout.width) * layout.height + 2 * static_cast<std::uint64_t>(layout.height) + 2;
}

struct Span {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};

// The pixel bytes to decode: as many as the image-size field says, or for an
// unset field the rows × stride the image needs (run-length data then runs to
// the end of the file), never more than the file still holds nor than decoding
// can use.
Span pixelData(std::uint64_t fileLength, const bmp::BmpLayout& layout) {
    const std::uint64_t rest = fileLength - layout.pixelOffset;
    const std::uint64_t usable = isRunLength(layout) ? longestRunLength(layout)
                                                     : bmp::rowStride(layout.width, layout.bitsPerPixel) * layout.height;
    const std::uint64_t wanted = layout.imageSize == 0 ? usable : std::min<std::uint64_t>(layout.imageSize, usable);
    return {layout.pixelOffset, std::min(wanted, rest)};
}

std::vector<std::uint32_t> allocatePixels(std::uint64_t count, std::uint32_t fill) {
    if (count > kMaxPixelBytes / sizeof(std::uint32_t)) throw OutOfMemoryFailure();
    try {
        return std::vector<std::uint32_t>(static_cast<std::size_t>(count), fill);
    } catch (const std::bad_alloc&) {
        throw OutOfMemoryFailure();
    }
}

}  // namespace

Bitmap decodeBmp(std::string_view bytes) {
    const auto within = [bytes](std::uint64_t offset, std::uint64_t length) {
        return std::string(bytes.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(length)));
    };
    return decodeBmpParts(bytes, bytes.size(), within, {});
}

Bitmap decodeBmpParts(std::string_view head, std::uint64_t fileLength, const FetchBytes& fetch,
                      const AdmitSize& admit) {
    Bitmap bitmap;
    if (fileLength == 0) return bitmap;
    const bmp::BmpLayout layout = bmp::readBmpLayout(head, fileLength);
    const bmp::Palette palette = bmp::readPalette(head, layout);
    const std::uint64_t pixelCount = static_cast<std::uint64_t>(layout.width) * layout.height;
    if (pixelCount != 0 && admit) admit(layout.width, layout.height);
    // Pixels the run-length codes skip stay black.
    bitmap.pixels = allocatePixels(pixelCount, bmp::kOpaqueBlack);
    bitmap.width = layout.width;
    bitmap.height = layout.height;
    if (pixelCount == 0) return bitmap;
    const Span span = pixelData(fileLength, layout);
    // Data inside the head is taken from it; the rest is fetched once.
    std::string fetched;
    std::string_view data;
    if (span.offset + span.length <= head.size()) {
        data = head.substr(static_cast<std::size_t>(span.offset), static_cast<std::size_t>(span.length));
    } else {
        fetched = fetch(span.offset, span.length);
        data = fetched;
    }
    if (isRunLength(layout))
        bmp::decodeRunLength(data, layout, palette, bitmap.pixels.data());
    else
        bmp::decodeUncompressed(data, layout, palette, bitmap.pixels.data());
    return bitmap;
}

}  // namespace core

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

// The pixel bytes to decode: as many as the image-size field says, or for an
// unset field the rows × stride the image needs (run-length data then runs to
// the end of the file), never more than the file still holds.
std::string_view pixelData(std::string_view bytes, const bmp::BmpLayout& layout) {
    const std::string_view rest = bytes.substr(layout.pixelOffset);
    std::uint64_t wanted = layout.imageSize;
    if (wanted == 0)
        wanted = isRunLength(layout) ? rest.size()
                                     : bmp::rowStride(layout.width, layout.bitsPerPixel) * layout.height;
    return rest.substr(0, static_cast<std::size_t>(std::min<std::uint64_t>(wanted, rest.size())));
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
    Bitmap bitmap;
    if (bytes.empty()) return bitmap;
    const bmp::BmpLayout layout = bmp::readBmpLayout(bytes);
    const bmp::Palette palette = bmp::readPalette(bytes, layout);
    const std::uint64_t pixelCount = static_cast<std::uint64_t>(layout.width) * layout.height;
    // Pixels the run-length codes skip stay black.
    bitmap.pixels = allocatePixels(pixelCount, bmp::kOpaqueBlack);
    bitmap.width = layout.width;
    bitmap.height = layout.height;
    if (pixelCount == 0) return bitmap;
    const std::string_view data = pixelData(bytes, layout);
    if (isRunLength(layout))
        bmp::decodeRunLength(data, layout, palette, bitmap.pixels.data());
    else
        bmp::decodeUncompressed(data, layout, palette, bitmap.pixels.data());
    return bitmap;
}

}  // namespace core

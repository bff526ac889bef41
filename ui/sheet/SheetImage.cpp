#include "ui/sheet/SheetImage.h"

#include <cstring>
#include <limits>

#include "core/text/failures.h"

namespace ui {

void admitPicture(std::int32_t width, std::int32_t /*height: no limit of its own*/) {
    // Qt counts a row's bits in an int, 31 of them spare for the row's alignment.
    constexpr std::int64_t kMaxRowPixels = (std::numeric_limits<int>::max() - 31) / 32;
    if (width > kMaxRowPixels) throw core::OutOfMemoryFailure();
}

QImage toQImage(const core::Bitmap& bitmap) {
    if (bitmap.empty()) return QImage();
    QImage picture(bitmap.width, bitmap.height, QImage::Format_RGB32);
    // Qt answers a size it cannot allocate with a null picture, not an exception.
    if (picture.isNull()) throw core::OutOfMemoryFailure();
    // RGB32 rows are width * 4 bytes with no padding, so the pixels go across in one copy.
    const auto bytes = static_cast<std::size_t>(bitmap.width) * static_cast<std::size_t>(bitmap.height) * 4;
    std::memcpy(picture.bits(), bitmap.pixels.data(), bytes);
    return picture;
}

}  // namespace ui

// libFuzzer target: any bytes either decode into a consistent sheet or raise one
// of the decoder's own failures.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/bmp/bmp.h"
#include "core/bmp/bmp_layout.h"
#include "core/text/failures.h"

namespace {

// A small file may declare a sheet of up to 256 MiB, which is allocated, filled and
// checked before its pixels are found missing: instrumented, a megapixel takes about
// 27 ms. Larger sheets are skipped to keep the fuzzer's pace; the decoder's own
// limits stay as they are.
constexpr std::uint64_t kMaxFuzzedPixels = std::uint64_t{1} << 20;

bool declaresHugeSheet(std::string_view bytes) {
    if (bytes.empty()) return false;
    try {
        const core::bmp::BmpLayout layout = core::bmp::readBmpLayout(bytes);
        return static_cast<std::uint64_t>(layout.width) * static_cast<std::uint64_t>(layout.height) > kMaxFuzzedPixels;
    } catch (const core::Failure&) {
        return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (declaresHugeSheet(bytes)) return 0;
    try {
        const core::Bitmap bitmap = core::decodeBmp(bytes);
        const auto expected = static_cast<std::uint64_t>(bitmap.width) * static_cast<std::uint64_t>(bitmap.height);
        if (bitmap.width < 0 || bitmap.height < 0 || bitmap.pixels.size() != expected) std::abort();
        for (const std::uint32_t pixel : bitmap.pixels)
            if ((pixel >> 24) != 0xFF) std::abort();
    } catch (const core::StreamReadFailure&) {
    } catch (const core::InvalidBitmapFailure&) {
    } catch (const core::OutOfMemoryFailure&) {
    }
    return 0;
}

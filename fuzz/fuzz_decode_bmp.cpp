// libFuzzer target: any bytes either decode into a consistent sheet or raise one
// of the decoder's own failures.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/bmp.h"
#include "core/failures.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
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

#include "core/bmp/bmp_run_length.h"

#include <algorithm>

#include "core/bmp/bmp_bytes.h"

namespace core::bmp {
namespace {

constexpr std::uint8_t kEscape = 0;
constexpr std::uint8_t kEndOfLine = 0;
constexpr std::uint8_t kEndOfBitmap = 1;
constexpr std::uint8_t kDelta = 2;

class RunLengthDecoder {
public:
    RunLengthDecoder(std::string_view data, const BmpLayout& layout, const Palette& palette, std::uint32_t* pixels)
        : data_(data),
          fourBit_(layout.compression == kRunLength4),
          width_(layout.width),
          height_(layout.height),
          palette_(palette),
          pixels_(pixels) {}

    void run() {
        while (y_ < height_ && data_.size() - at_ >= 2) {
            const std::uint8_t count = byteAt(data_, at_);
            const std::uint8_t value = byteAt(data_, at_ + 1);
            at_ += 2;
            if (count != kEscape) {
                encodedRun(count, value);
            } else if (value == kEndOfLine) {
                x_ = 0;
                ++y_;
            } else if (value == kEndOfBitmap) {
                return;
            } else if (value == kDelta) {
                if (!delta()) return;
            } else {
                absoluteRun(value);
            }
        }
    }

private:
    // Pixel `i` of a run whose indices are packed in `packed`.
    std::uint8_t indexOf(std::uint8_t packed, std::size_t i) const {
        if (!fourBit_) return packed;
        return (i & 1) ? (packed & 0x0F) : (packed >> 4);
    }

    // How many of `count` pixels from the current position still fit in the row.
    std::int64_t visible(std::int64_t count) const { return std::clamp<std::int64_t>(width_ - x_, 0, count); }

    std::uint32_t* rowOut() const { return pixels_ + static_cast<std::size_t>(height_ - 1 - y_) * width_; }

    void advance(std::int64_t count) { x_ = std::min<std::int64_t>(x_ + count, width_); }

    void encodedRun(std::uint8_t count, std::uint8_t packed) {
        const std::int64_t shown = visible(count);
        std::uint32_t* out = rowOut() + x_;
        for (std::int64_t i = 0; i < shown; ++i) out[i] = palette_[indexOf(packed, static_cast<std::size_t>(i))];
        advance(count);
    }

    void absoluteRun(std::uint8_t count) {
        const std::size_t codedBytes = fourBit_ ? (count + 1u) / 2 : count;
        const std::size_t available = std::min(codedBytes, data_.size() - at_);
        const std::size_t pixelsHeld = fourBit_ ? available * 2 : available;
        const std::int64_t shown = visible(std::min<std::int64_t>(count, static_cast<std::int64_t>(pixelsHeld)));
        std::uint32_t* out = rowOut() + x_;
        for (std::int64_t i = 0; i < shown; ++i) {
            const std::size_t pixel = static_cast<std::size_t>(i);
            out[i] = palette_[indexOf(byteAt(data_, at_ + (fourBit_ ? pixel / 2 : pixel)), pixel)];
        }
        advance(count);
        // Absolute runs are padded to a 16-bit boundary.
        at_ += std::min(codedBytes + (codedBytes & 1), data_.size() - at_);
    }

    bool delta() {
        if (data_.size() - at_ < 2) return false;
        advance(byteAt(data_, at_));
        y_ += byteAt(data_, at_ + 1);
        at_ += 2;
        return true;
    }

    std::string_view data_;
    std::size_t at_ = 0;
    bool fourBit_;
    std::int64_t width_;
    std::int64_t height_;
    std::int64_t x_ = 0;
    std::int64_t y_ = 0;  // rows from the bottom
    const Palette& palette_;
    std::uint32_t* pixels_;
};

}  // namespace

void decodeRunLength(std::string_view data, const BmpLayout& layout, const Palette& palette,
                     std::uint32_t* pixels) {
    RunLengthDecoder(data, layout, palette, pixels).run();
}

}  // namespace core::bmp

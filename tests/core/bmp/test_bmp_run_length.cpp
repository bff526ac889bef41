#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/bmp/bmp.h"
#include "support/bmp_file_builder.h"

namespace {

using core::decodeBmp;
using testsupport::BmpFields;
using testsupport::buildBmp;
using testsupport::bytesOf;

constexpr std::uint32_t kBlack = 0xFF000000;

// Index i is grey level 0x11 × i, so every non-zero index is told apart from black.
std::uint32_t grey(int index) { return 0xFF000000u | (0x111111u * static_cast<std::uint32_t>(index)); }

BmpFields runLength(std::uint16_t bits, int width, int height, std::string codes) {
    BmpFields f;
    f.bitsPerPixel = bits;
    f.compression = bits == 8 ? 1 : 2;
    f.width = width;
    f.height = height;
    f.coloursUsed = 16;
    for (int i = 0; i < 16; ++i) f.palette.push_back(0x111111u * static_cast<std::uint32_t>(i));
    f.pixels = std::move(codes);
    f.imageSize = static_cast<std::uint32_t>(f.pixels.size());
    return f;
}

TEST(DecodeBmpRunLength, EightBitCodesWithDeltaAndEndOfBitmap) {
    const std::string codes = bytesOf({
        3, 1,           // bottom row: three of index 1
        0, 3, 2, 3, 4, 0,  // absolute run of three: only the first fits the row, no wrap
        0, 0,           // end of line
        0, 2, 1, 1,     // delta: right 1, up 1, to the top row
        2, 4,           // two of index 4
        0, 1,           // end of bitmap
        4, 5,           // after the end: never decoded
    });
    const auto bitmap = decodeBmp(buildBmp(runLength(8, 4, 3, codes)));
    EXPECT_EQ(bitmap.pixels, (std::vector<std::uint32_t>{
                                 kBlack, grey(4), grey(4), kBlack,       // top row
                                 kBlack, kBlack, kBlack, kBlack,         // skipped by the delta
                                 grey(1), grey(1), grey(1), grey(2),     // bottom row
                             }));
}

TEST(DecodeBmpRunLength, FourBitCodesAlternateNibblesAndPadAbsoluteRuns) {
    const std::string codes = bytesOf({
        0, 5, 0x12, 0x34, 0x50, 0,  // five pixels from three bytes, padded to four
        3, 0x67,                    // 6 7 6
        0, 0,
        0, 3, 0x89, 0xA0,           // three pixels from two bytes, no padding
        2, 0xBC,
        0, 1,
    });
    const auto bitmap = decodeBmp(buildBmp(runLength(4, 8, 2, codes)));
    EXPECT_EQ(bitmap.pixels, (std::vector<std::uint32_t>{
                                 grey(8), grey(9), grey(10), grey(11), grey(12), kBlack, kBlack, kBlack,
                                 grey(1), grey(2), grey(3), grey(4), grey(5), grey(6), grey(7), grey(6),
                             }));
}

TEST(DecodeBmpRunLength, CodesReachingPastTheDataOrTheImageAreCut) {
    // A run longer than the row, then a line end past the top row and more codes.
    const auto tooLong = decodeBmp(buildBmp(runLength(8, 2, 1, bytesOf({200, 3, 0, 0, 2, 5}))));
    EXPECT_EQ(tooLong.pixels, (std::vector<std::uint32_t>{grey(3), grey(3)}));

    // An absolute run whose bytes the data does not hold.
    const auto shortAbsolute = decodeBmp(buildBmp(runLength(8, 3, 1, bytesOf({0, 4, 7}))));
    EXPECT_EQ(shortAbsolute.pixels, (std::vector<std::uint32_t>{grey(7), kBlack, kBlack}));

    // A delta above the image, and one cut off by the end of the data.
    const auto deltaOut = decodeBmp(buildBmp(runLength(8, 2, 2, bytesOf({0, 2, 0, 200, 2, 9}))));
    EXPECT_EQ(deltaOut.pixels, std::vector<std::uint32_t>(4, kBlack));
    const auto deltaCut = decodeBmp(buildBmp(runLength(4, 2, 1, bytesOf({1, 0x90, 0, 2, 1}))));
    EXPECT_EQ(deltaCut.pixels, (std::vector<std::uint32_t>{grey(9), kBlack}));

    // Deltas far to the right stay cut until the next line.
    const auto farRight = decodeBmp(buildBmp(runLength(8, 2, 2, bytesOf({0, 2, 255, 0, 0, 2, 255, 0, 1, 4, 0, 0, 1, 5}))));
    EXPECT_EQ(farRight.pixels, (std::vector<std::uint32_t>{grey(5), kBlack, kBlack, kBlack}));
}

TEST(DecodeBmpRunLength, ImageSizeFieldLimitsTheCodesRead) {
    BmpFields limited = runLength(8, 2, 1, bytesOf({1, 3, 1, 4}));
    limited.imageSize = 2;
    EXPECT_EQ(decodeBmp(buildBmp(limited)).pixels, (std::vector<std::uint32_t>{grey(3), kBlack}));

    BmpFields unset = runLength(8, 2, 1, bytesOf({1, 3, 1, 4}));
    unset.imageSize = 0;  // the codes then run to the end of the file
    EXPECT_EQ(decodeBmp(buildBmp(unset)).pixels, (std::vector<std::uint32_t>{grey(3), grey(4)}));
}

}  // namespace

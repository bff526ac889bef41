#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/bmp/bmp.h"
#include "core/text/failures.h"
#include "support/bmp_file_builder.h"

namespace {

using core::Bitmap;
using core::decodeBmp;
using testsupport::BmpFields;
using testsupport::buildBmp;
using testsupport::bytesOf;

constexpr std::uint32_t kBlack = 0xFF000000;

// The file with a 32-bit field overwritten in place.
std::string withField(std::string file, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return file;
}

// A 2 × 2 sheet of palette indices 0 1 / 2 3 (top row first) at 8 bits per pixel.
BmpFields fourColours8Bit() {
    BmpFields f;
    f.width = 2;
    f.height = 2;
    f.bitsPerPixel = 8;
    f.coloursUsed = 4;
    f.palette = {0x102030, 0x405060, 0x708090, 0xA0B0C0};
    f.pixels = bytesOf({2, 3, 0, 0, 0, 1, 0, 0});  // bottom row first, padded to 4
    return f;
}

void expectFourColours(const Bitmap& bitmap) {
    ASSERT_EQ(bitmap.width, 2);
    ASSERT_EQ(bitmap.height, 2);
    EXPECT_EQ(bitmap.pixels, (std::vector<std::uint32_t>{0xFF102030, 0xFF405060, 0xFF708090, 0xFFA0B0C0}));
}

TEST(DecodeBmp, EmptyFileIsAnEmptySheet) {
    const Bitmap bitmap = decodeBmp("");
    EXPECT_TRUE(bitmap.empty());
    EXPECT_EQ(bitmap.width, 0);
    EXPECT_EQ(bitmap.height, 0);
    EXPECT_TRUE(bitmap.pixels.empty());
}

TEST(DecodeBmp, HeaderKindsAndRowOrderGiveTheSamePixels) {
    expectFourColours(decodeBmp(buildBmp(fourColours8Bit())));

    BmpFields core = fourColours8Bit();
    core.headerSize = 12;
    core.coloursUsed = 0;  // the core header always has 256 entries at 8 bits
    core.palette.resize(256, 0);
    expectFourColours(decodeBmp(buildBmp(core)));

    for (const std::uint32_t size : {108u, 124u, 64u, 16u}) {
        BmpFields longer = fourColours8Bit();
        longer.headerSize = size;
        if (size == 16) {  // too short for a colours-used field: the default 256 entries
            longer.coloursUsed = 0;
            longer.palette.resize(256, 0);
        }
        SCOPED_TRACE(size);
        expectFourColours(decodeBmp(buildBmp(longer)));
    }

    BmpFields topDown = fourColours8Bit();
    topDown.height = -2;
    topDown.pixels = bytesOf({0, 1, 0, 0, 2, 3, 0, 0});
    expectFourColours(decodeBmp(buildBmp(topDown)));
}

TEST(DecodeBmp, IndexedPixelsPackHighBitsFirst) {
    BmpFields oneBit;
    oneBit.width = 10;
    oneBit.bitsPerPixel = 1;
    oneBit.palette = {0x000000, 0xFFFFFF};
    oneBit.pixels = bytesOf({0xA0, 0x40, 0, 0});  // 1010 0000 01
    const Bitmap a = decodeBmp(buildBmp(oneBit));
    EXPECT_EQ(a.pixels, (std::vector<std::uint32_t>{0xFFFFFFFF, kBlack, 0xFFFFFFFF, kBlack, kBlack, kBlack, kBlack,
                                                    kBlack, kBlack, 0xFFFFFFFF}));

    BmpFields fourBit;
    fourBit.width = 3;
    fourBit.bitsPerPixel = 4;
    fourBit.palette.assign(16, 0);
    fourBit.palette[1] = 0x0000FF;
    fourBit.palette[2] = 0x00FF00;
    fourBit.palette[15] = 0xFF0000;
    fourBit.pixels = bytesOf({0x21, 0xF0, 0, 0});
    const Bitmap b = decodeBmp(buildBmp(fourBit));
    EXPECT_EQ(b.pixels, (std::vector<std::uint32_t>{0xFF00FF00, 0xFF0000FF, 0xFFFF0000}));
}

TEST(DecodeBmp, DirectColourDepthsAreOpaque) {
    BmpFields rgb24;
    rgb24.width = 2;
    rgb24.height = 2;
    // Blue, green, red per pixel; rows of 6 bytes padded to 8.
    rgb24.pixels = bytesOf({1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0});
    EXPECT_EQ(decodeBmp(buildBmp(rgb24)).pixels,
              (std::vector<std::uint32_t>{0xFF090807, 0xFF0C0B0A, 0xFF030201, 0xFF060504}));

    BmpFields rgb32;
    rgb32.bitsPerPixel = 32;
    rgb32.pixels = bytesOf({0x11, 0x22, 0x33, 0x00});  // the fourth byte is not alpha
    EXPECT_EQ(decodeBmp(buildBmp(rgb32)).pixels, std::vector<std::uint32_t>{0xFF332211});

    BmpFields rgb16;  // 5-5-5 without masks, levels rounded to 0..255
    rgb16.bitsPerPixel = 16;
    rgb16.width = 2;
    rgb16.pixels = bytesOf({0xFF, 0x7F, 0x23, 0x0C});  // 0x7FFF, then red 3 green 1 blue 3
    EXPECT_EQ(decodeBmp(buildBmp(rgb16)).pixels, (std::vector<std::uint32_t>{0xFFFFFFFF, 0xFF190819}));
}

TEST(DecodeBmp, BitFieldMasksSelectAndScaleChannels) {
    BmpFields rgb565;
    rgb565.bitsPerPixel = 16;
    rgb565.compression = 3;
    rgb565.masks = std::vector<std::uint32_t>{0xF800, 0x07E0, 0x001F};
    rgb565.width = 2;
    rgb565.pixels = bytesOf({0x00, 0xF8, 0x60, 0x01});  // pure red; green 11 of 63
    EXPECT_EQ(decodeBmp(buildBmp(rgb565)).pixels, (std::vector<std::uint32_t>{0xFFFF0000, 0xFF002D00}));

    // Swapped byte order, a 10-bit channel and an empty mask; inside a 124-byte header.
    BmpFields odd;
    odd.headerSize = 124;
    odd.bitsPerPixel = 32;
    odd.compression = 3;
    odd.masks = std::vector<std::uint32_t>{0x000000FF, 0x0003FF00, 0x00000000};
    // Red 0x80; green 767 and 3 of 1023 round to 191 and 1.
    odd.width = 2;
    odd.pixels = bytesOf({0x80, 0xFF, 0x02, 0xFF, 0x00, 0x03, 0x00, 0x00});
    const std::vector<std::uint32_t> expected{0xFF80BF00, 0xFF000100};
    EXPECT_EQ(decodeBmp(buildBmp(odd)).pixels, expected);

    BmpFields in52 = odd;  // the 52-byte header holds the masks too
    in52.headerSize = 52;
    EXPECT_EQ(decodeBmp(buildBmp(in52)).pixels, expected);
}

TEST(DecodeBmp, ColourTableFollowsTheColoursUsedField) {
    BmpFields twoOfMany = fourColours8Bit();
    twoOfMany.coloursUsed = 2;
    twoOfMany.palette.resize(2);
    const Bitmap two = decodeBmp(buildBmp(twoOfMany));
    // Indices beyond the two entries are black.
    EXPECT_EQ(two.pixels, (std::vector<std::uint32_t>{0xFF102030, 0xFF405060, kBlack, kBlack}));

    BmpFields defaultSixteen;
    defaultSixteen.bitsPerPixel = 4;
    defaultSixteen.palette.assign(16, 0);
    defaultSixteen.palette[15] = 0xABCDEF;
    defaultSixteen.pixels = bytesOf({0xF0, 0, 0, 0});
    EXPECT_EQ(decodeBmp(buildBmp(defaultSixteen)).pixels, std::vector<std::uint32_t>{0xFFABCDEF});

    // Above 256 only 256 entries are colours; the offset skips the rest.
    BmpFields oversized = fourColours8Bit();
    oversized.coloursUsed = 300;
    oversized.palette.resize(300, 0x777777);
    expectFourColours(decodeBmp(buildBmp(oversized)));

    // Above 8 bits a colour table is skipped, not used.
    BmpFields withTable;
    withTable.coloursUsed = 2;
    withTable.palette = {0x123456, 0x654321};
    withTable.pixels = bytesOf({1, 2, 3, 0});
    EXPECT_EQ(decodeBmp(buildBmp(withTable)).pixels, std::vector<std::uint32_t>{0xFF030201});
}

TEST(DecodeBmp, PixelOffsetIsHonouredOnlyPastTheTableAndInsideTheFile) {
    BmpFields gap = fourColours8Bit();
    gap.gap = std::string(6, '\x03');
    expectFourColours(decodeBmp(buildBmp(gap)));

    BmpFields intoTable = fourColours8Bit();
    intoTable.pixelOffset = 14 + 40;
    expectFourColours(decodeBmp(buildBmp(intoTable)));

    BmpFields pastEnd = fourColours8Bit();
    pastEnd.pixelOffset = 100000;
    expectFourColours(decodeBmp(buildBmp(pastEnd)));
}

TEST(DecodeBmp, PixelBytesTheFileLacksAreZero) {
    BmpFields cut = fourColours8Bit();
    cut.pixels.resize(5);  // the top row keeps its first pixel only
    const Bitmap a = decodeBmp(buildBmp(cut));
    EXPECT_EQ(a.pixels, (std::vector<std::uint32_t>{0xFF102030, 0xFF102030, 0xFF708090, 0xFFA0B0C0}));

    BmpFields limited = fourColours8Bit();
    limited.imageSize = 2;  // only the bottom row's pixels are read
    const Bitmap b = decodeBmp(buildBmp(limited));
    EXPECT_EQ(b.pixels, (std::vector<std::uint32_t>{0xFF102030, 0xFF102030, 0xFF708090, 0xFFA0B0C0}));

    BmpFields partThenNothing = fourColours8Bit();
    partThenNothing.height = 3;
    partThenNothing.pixels = bytesOf({2, 3, 0, 0, 3});  // bottom row, then one byte of the middle row
    EXPECT_EQ(decodeBmp(buildBmp(partThenNothing)).pixels,
              (std::vector<std::uint32_t>{0xFF102030, 0xFF102030, 0xFFA0B0C0, 0xFF102030, 0xFF708090, 0xFFA0B0C0}));

    BmpFields none;
    none.width = 3;
    none.height = 2;
    none.pixels.clear();
    EXPECT_EQ(decodeBmp(buildBmp(none)).pixels, std::vector<std::uint32_t>(6, kBlack));
}

template <typename FailureType>
void expectRefused(const std::string& bytes, const char* what) {
    SCOPED_TRACE(what);
    EXPECT_THROW(decodeBmp(bytes), FailureType);
}

TEST(DecodeBmp, FilesEndingInsideTheirHeadersAreStreamReadFailures) {
    const std::string whole = buildBmp(fourColours8Bit());
    expectRefused<core::StreamReadFailure>(whole.substr(0, 1), "one byte");
    expectRefused<core::StreamReadFailure>(whole.substr(0, 13), "inside the file header");
    expectRefused<core::StreamReadFailure>(whole.substr(0, 14), "no info header");
    expectRefused<core::StreamReadFailure>(whole.substr(0, 40), "inside the info header");
    expectRefused<core::StreamReadFailure>(whole.substr(0, 14 + 40 + 15), "inside the colour table");

    BmpFields masks;
    masks.bitsPerPixel = 16;
    masks.compression = 3;
    masks.masks = std::vector<std::uint32_t>{0xF800, 0x07E0, 0x001F};
    expectRefused<core::StreamReadFailure>(buildBmp(masks).substr(0, 14 + 40 + 8), "inside the masks");

    expectRefused<core::StreamReadFailure>(withField(whole, 14, 0xFFFFFFF0u), "header larger than the file");
    expectRefused<core::StreamReadFailure>(withField(whole, 14 + 32, 256), "colour table larger than the file");
}

TEST(DecodeBmp, UndecodableFilesAreInvalidBitmaps) {
    auto with = [](auto change) {
        BmpFields f = fourColours8Bit();
        change(f);
        return buildBmp(f);
    };
    expectRefused<core::InvalidBitmapFailure>(with([](BmpFields& f) { f.magic = "BA"; }), "magic");
    expectRefused<core::InvalidBitmapFailure>(std::string("\0\0\1\0\1\0\x10\x10\0\0\1\0\x20\0", 14) + std::string(40, '\0'),
                                              "icon file");
    expectRefused<core::InvalidBitmapFailure>(with([](BmpFields& f) { f.planes = 0; }), "planes 0");
    expectRefused<core::InvalidBitmapFailure>(with([](BmpFields& f) { f.planes = 2; }), "planes 2");
    for (const int bits : {0, 2, 7, 64, 30000})
        expectRefused<core::InvalidBitmapFailure>(with([bits](BmpFields& f) { f.bitsPerPixel = bits; }), "bit count");
    for (const int compression : {4, 5, 6, 11})
        expectRefused<core::InvalidBitmapFailure>(
            with([compression](BmpFields& f) { f.compression = compression; }), "compression");
    expectRefused<core::InvalidBitmapFailure>(with([](BmpFields& f) { f.compression = 2; }), "4-bit coding, 8 bits");
    expectRefused<core::InvalidBitmapFailure>(with([](BmpFields& f) { f.compression = 3; }), "bit fields, 8 bits");
    expectRefused<core::InvalidBitmapFailure>(with([](BmpFields& f) {
                                                  f.compression = 1;
                                                  f.height = -2;
                                              }),
                                              "top-down run-length data");
    expectRefused<core::InvalidBitmapFailure>(with([](BmpFields& f) { f.width = -2; }), "negative width");
    expectRefused<core::InvalidBitmapFailure>(with([](BmpFields& f) { f.height = INT32_MIN; }), "height -2^31");
    for (const std::uint32_t size : {0u, 11u, 13u, 15u})
        expectRefused<core::InvalidBitmapFailure>(withField(buildBmp(fourColours8Bit()), 14, size),
                                                  std::to_string(size).c_str());
}

TEST(DecodeBmp, SheetsAbove256MiBAreRefusedBeforeAllocating) {
    BmpFields big;
    big.bitsPerPixel = 1;
    big.palette = {0, 0xFFFFFF};
    big.width = 8193;
    big.height = 8192;
    expectRefused<core::OutOfMemoryFailure>(buildBmp(big), "one column over");
    big.width = 3000000;
    big.height = 2000000;
    expectRefused<core::OutOfMemoryFailure>(buildBmp(big), "absurd size");
    big.width = INT32_MAX;
    big.height = -INT32_MAX;
    expectRefused<core::OutOfMemoryFailure>(buildBmp(big), "largest size");

    big.width = 8192;
    big.height = 8192;  // exactly 256 MiB of pixels
    const Bitmap limit = decodeBmp(buildBmp(big));
    EXPECT_EQ(limit.pixels.size(), 8192u * 8192u);
    EXPECT_EQ(limit.pixels.back(), kBlack);
}

TEST(DecodeBmp, ZeroWidthOrHeightIsAnEmptySheetOfThatSize) {
    BmpFields flat;
    flat.width = 5;
    flat.height = 0;
    const Bitmap bitmap = decodeBmp(buildBmp(flat));
    EXPECT_TRUE(bitmap.empty());
    EXPECT_EQ(bitmap.width, 5);
    EXPECT_TRUE(bitmap.pixels.empty());
}

}  // namespace

#include "core/export/png_export.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <exception>
#include <functional>
#include <string_view>
#include <vector>

#include "core/map/tile_geometry.h"
#include "core/project/text_file_writer.h"
#include "core/text/failures.h"

namespace core {
namespace {

constexpr int kTile = 8;

// libpng is C: a failure of the writer is kept here and libpng unwinds by longjmp,
// so that no exception passes through its frames.
struct PngOutput {
    TextFileWriter* writer = nullptr;
    std::exception_ptr failure;
};

void writeData(png_structp png, png_bytep data, png_size_t length) {
    auto* output = static_cast<PngOutput*>(png_get_io_ptr(png));
    try {
        output->writer->writeBytes(std::string_view(reinterpret_cast<const char*>(data), length));
        return;
    } catch (...) {
        output->failure = std::current_exception();
    }
    // Outside the handler: the longjmp must leave no exception being handled.
    png_error(png, "write failed");
}

void flushData(png_structp) {}

[[noreturn]] void onError(png_structp png, png_const_charp) { std::longjmp(png_jmpbuf(png), 1); }
void onWarning(png_structp, png_const_charp) {}

// Runs `body` with libpng's error return set; false when libpng returned through it.
// Nothing here lives across the setjmp but the arguments.
bool withErrorReturn(png_structp png, const std::function<void()>& body) {
    if (setjmp(png_jmpbuf(png))) return false;
    body();
    return true;
}

// One row of pixels of a map row: for each cell its tile's pixel row, or transparent.
void fillPixelRow(ConstMapRow cells, const Bitmap& sheet, std::int32_t sheetColumns, std::int32_t tiles,
                  int pixelRow, std::vector<png_byte>& out) {
    png_byte* at = out.data();
    for (const Cell tile : cells) {
        if (tile < tiles) {
            const PixelRect square = *tileRect(tile, sheetColumns);
            const std::uint32_t* pixels =
                sheet.pixels.data() + static_cast<std::size_t>(square.top + pixelRow) * sheet.width + square.left;
            for (int x = 0; x < kTile; ++x) {
                const std::uint32_t argb = pixels[x];
                at[0] = static_cast<png_byte>(argb >> 16);
                at[1] = static_cast<png_byte>(argb >> 8);
                at[2] = static_cast<png_byte>(argb);
                at[3] = 0xFF;
                at += 4;
            }
        } else {
            std::fill(at, at + 4 * kTile, png_byte{0});
            at += 4 * kTile;
        }
    }
}

}  // namespace

std::uint64_t picturePixels(const EditorState& state) {
    return std::uint64_t{state.Map.columns()} * kTile * state.Map.size() * kTile;
}

void writePng(const EditorState& state, const Bitmap& sheet, TextFileWriter& writer) {
    if (picturePixels(state) > kMaxPicturePixels) throw RangeFailure();
    const std::int32_t sheetColumns = sheetColumnsOf(sheet.width);
    const std::int32_t tiles = sheetTileCount(sheet.width, sheet.height);
    const auto width = static_cast<png_uint_32>(state.Map.columns() * kTile);
    const auto height = static_cast<png_uint_32>(state.Map.size() * kTile);
    std::vector<png_byte> row(std::size_t{width} * 4);

    PngOutput output{&writer, nullptr};
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    if (!png) throw OutOfMemoryFailure();
    png_infop info = png_create_info_struct(png);
    const bool written = info && withErrorReturn(png, [&] {
        png_set_write_fn(png, &output, writeData, flushData);
        png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (const ConstMapRow cells : state.Map)
            for (int pixelRow = 0; pixelRow < kTile; ++pixelRow) {
                fillPixelRow(cells, sheet, sheetColumns, tiles, pixelRow, row);
                png_write_row(png, row.data());
            }
        png_write_end(png, info);
    });
    png_destroy_write_struct(&png, &info);
    if (written) return;
    if (output.failure) std::rethrow_exception(output.failure);
    throw OutOfMemoryFailure();
}

}  // namespace core

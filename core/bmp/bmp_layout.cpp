#include "core/bmp/bmp_layout.h"

#include <algorithm>
#include <limits>

#include "core/bmp/bmp_bytes.h"
#include "core/text/failures.h"

namespace core::bmp {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kPixelOffsetField = 10;
constexpr std::uint32_t kCoreHeaderSize = 12;
// Width, height, planes and bit count in 32/32/16/16 bits: the least an info
// header other than the core header must hold.
constexpr std::uint32_t kShortestInfoHeader = 16;
constexpr std::uint32_t kInfoHeaderSize = 40;
// From this size on the red, green and blue masks sit inside the header.
constexpr std::uint32_t kHeaderWithMasks = 52;
constexpr std::size_t kMasksSize = 12;
constexpr std::size_t kMaxPaletteEntries = 256;
static_assert(kBmpHeadBytes == kFileHeaderSize + kMaxInfoHeaderSize + kMasksSize + kMaxPaletteEntries * 4);

struct InfoFields {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitsPerPixel = 0;
    std::uint32_t compression = kUncompressed;
    std::uint32_t imageSize = 0;
    std::uint32_t coloursUsed = 0;
};

// A field the header is too short to hold counts as 0: nothing past the header
// that the file declares is taken for a header field.
std::uint32_t fieldOrZero(std::string_view header, std::size_t at) {
    return at + 4 <= header.size() ? readU32(header, at) : 0;
}

InfoFields readCoreHeader(std::string_view header) {
    InfoFields fields;
    fields.width = readU16(header, 4);
    fields.height = readU16(header, 6);
    fields.planes = readU16(header, 8);
    fields.bitsPerPixel = readU16(header, 10);
    return fields;
}

InfoFields readInfoHeader(std::string_view header) {
    InfoFields fields;
    fields.width = readI32(header, 4);
    fields.height = readI32(header, 8);
    fields.planes = readU16(header, 12);
    fields.bitsPerPixel = readU16(header, 14);
    fields.compression = fieldOrZero(header, 16);
    fields.imageSize = fieldOrZero(header, 20);
    fields.coloursUsed = fieldOrZero(header, 32);
    return fields;
}

std::string_view readHeaderBytes(std::string_view bytes, std::uint64_t fileLength) {
    if (fileLength < kFileHeaderSize + 4) throw StreamReadFailure();
    const std::uint32_t headerSize = readU32(bytes, kFileHeaderSize);
    if (headerSize < kCoreHeaderSize || (headerSize > kCoreHeaderSize && headerSize < kShortestInfoHeader))
        throw InvalidBitmapFailure();
    if (headerSize > fileLength - kFileHeaderSize) throw StreamReadFailure();
    if (headerSize > kMaxInfoHeaderSize) throw InvalidBitmapFailure();
    return bytes.substr(kFileHeaderSize, headerSize);
}

bool isAllowedBitCount(std::uint16_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Run-length data is stored bottom-up only, and each coding has its own bit count.
bool isDecodableCompression(const InfoFields& fields, bool topDown) {
    switch (fields.compression) {
        case kUncompressed: return true;
        case kRunLength8: return fields.bitsPerPixel == 8 && !topDown;
        case kRunLength4: return fields.bitsPerPixel == 4 && !topDown;
        case kBitFields: return fields.bitsPerPixel == 16 || fields.bitsPerPixel == 32;
        default: return false;
    }
}

void checkDecodable(const InfoFields& fields) {
    if (fields.planes != 1 || !isAllowedBitCount(fields.bitsPerPixel)) throw InvalidBitmapFailure();
    if (fields.width < 0 || fields.height == std::numeric_limits<std::int32_t>::min()) throw InvalidBitmapFailure();
    if (!isDecodableCompression(fields, fields.height < 0)) throw InvalidBitmapFailure();
}

ColourMasks defaultMasks(std::uint16_t bitsPerPixel) {
    if (bitsPerPixel == 16) return {0x7C00, 0x03E0, 0x001F};
    return {0x00FF0000, 0x0000FF00, 0x000000FF};
}

ColourMasks readMasks(std::string_view bytes, std::size_t at) {
    return {readU32(bytes, at), readU32(bytes, at + 4), readU32(bytes, at + 8)};
}

std::size_t paletteEntryCount(const InfoFields& fields) {
    if (fields.coloursUsed != 0) return std::min<std::size_t>(fields.coloursUsed, kMaxPaletteEntries);
    return fields.bitsPerPixel <= 8 ? std::size_t{1} << fields.bitsPerPixel : 0;
}

// The file header's offset is trusted only where it cannot overlap the colour
// table and still points into the file.
std::size_t pixelOffset(std::string_view bytes, std::uint64_t fileLength, std::size_t paletteEnd) {
    const std::size_t declared = readU32(bytes, kPixelOffsetField);
    return declared >= paletteEnd && declared < fileLength ? declared : paletteEnd;
}

}  // namespace

BmpLayout readBmpLayout(std::string_view bytes) { return readBmpLayout(bytes, bytes.size()); }

BmpLayout readBmpLayout(std::string_view head, std::uint64_t fileLength) {
    // Every read below lies inside the head: the whole file, or its first kBmpHeadBytes.
    const std::string_view bytes = head;
    if (fileLength < kFileHeaderSize) throw StreamReadFailure();
    if (bytes[0] != 'B' || bytes[1] != 'M') throw InvalidBitmapFailure();
    const std::string_view header = readHeaderBytes(bytes, fileLength);
    const bool isCore = header.size() == kCoreHeaderSize;
    const InfoFields fields = isCore ? readCoreHeader(header) : readInfoHeader(header);
    checkDecodable(fields);

    BmpLayout layout;
    layout.width = fields.width;
    layout.height = fields.height < 0 ? -fields.height : fields.height;
    layout.topDown = fields.height < 0;
    layout.bitsPerPixel = fields.bitsPerPixel;
    layout.compression = fields.compression;
    layout.imageSize = fields.imageSize;
    layout.masks = defaultMasks(fields.bitsPerPixel);

    std::size_t at = kFileHeaderSize + header.size();
    if (fields.compression == kBitFields) {
        if (header.size() >= kHeaderWithMasks) {
            layout.masks = readMasks(header, kInfoHeaderSize);
        } else {
            if (fileLength - at < kMasksSize) throw StreamReadFailure();
            layout.masks = readMasks(bytes, at);
            at += kMasksSize;
        }
    }

    layout.paletteOffset = at;
    layout.paletteEntrySize = isCore ? 3 : 4;
    layout.paletteEntries = paletteEntryCount(fields);
    const std::size_t paletteSize = layout.paletteEntries * layout.paletteEntrySize;
    if (fileLength - at < paletteSize) throw StreamReadFailure();
    layout.pixelOffset = pixelOffset(bytes, fileLength, at + paletteSize);
    return layout;
}

}  // namespace core::bmp

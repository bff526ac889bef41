#pragma once
// Tile-sheet test files: small BMPs with known pixels, written into a temporary folder.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>

namespace sheettest {

// Never black (blue is always 0x40), so a frame pixel stands out; differs per pixel.
inline std::uint32_t sheetColour(int x, int y) {
    return 0xFF000000u | (static_cast<std::uint32_t>(x & 0xFF) << 16) |
           (static_cast<std::uint32_t>(y & 0xFF) << 8) | 0x40u;
}

inline void putLittle(QByteArray& bytes, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A 24-bit bottom-up BMP with a 40-byte header whose pixels are sheetColour().
inline QByteArray bmp24(int width, int height) {
    const int stride = ((width * 24 + 31) / 32) * 4;
    QByteArray bytes;
    bytes.append("BM");
    putLittle(bytes, 14 + 40 + stride * height, 4);
    putLittle(bytes, 0, 4);
    putLittle(bytes, 14 + 40, 4);
    putLittle(bytes, 40, 4);
    putLittle(bytes, static_cast<std::uint32_t>(width), 4);
    putLittle(bytes, static_cast<std::uint32_t>(height), 4);
    putLittle(bytes, 1, 2);
    putLittle(bytes, 24, 2);
    putLittle(bytes, 0, 4);
    putLittle(bytes, static_cast<std::uint32_t>(stride * height), 4);
    putLittle(bytes, 2835, 4);
    putLittle(bytes, 2835, 4);
    putLittle(bytes, 0, 4);
    putLittle(bytes, 0, 4);
    for (int row = height - 1; row >= 0; --row) {
        QByteArray line;
        for (int x = 0; x < width; ++x) putLittle(line, sheetColour(x, row) & 0xFFFFFF, 3);
        line.append(stride - line.size(), '\0');
        bytes.append(line);
    }
    return bytes;
}

// The start of an icon file: reserved 0, type 1, one image.
inline QByteArray iconFile() {
    QByteArray bytes;
    putLittle(bytes, 0, 2);
    putLittle(bytes, 1, 2);
    putLittle(bytes, 1, 2);
    bytes.append(16 + 40, '\x10');
    return bytes;
}

inline QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return QString();
    return path;
}

}  // namespace sheettest

// The decoder against the public BMP test suite: good files must decode to the
// pixels recorded for them (and match the reference renderings where a checkout of
// those sits beside the repository), bad and questionable ones must load or be
// refused cleanly.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QImage>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/bmp/bmp.h"
#include "core/text/failures.h"

namespace {

namespace fs = std::filesystem;

// The images live in the repository; the reference renderings, which no licence
// lets us copy, only in the shared test data beside it.
const fs::path kImages = fs::path(QUARVEL_SOURCE_DIR) / "tests" / "bmpsuite" / "images";
const fs::path kDigests = fs::path(QUARVEL_SOURCE_DIR) / "tests" / "bmpsuite" / "pixel_digests.tsv";
const fs::path kReferenceSuite = fs::path(QUARVEL_TESTDATA) / "bmpsuite";

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> splitOn(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::stringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);) parts.push_back(part);
    return parts;
}

// "g/pal8.bmp" → its acceptable renderings, from the last column of index.tsv.
std::map<std::string, std::vector<std::string>> referencesByFile() {
    std::map<std::string, std::vector<std::string>> references;
    std::stringstream index(readFile(kReferenceSuite / "index.tsv"));
    std::string line;
    std::getline(index, line);  // column names
    while (std::getline(index, line)) {
        const auto fields = splitOn(line, '\t');
        if (fields.size() < 2 || fields.back() == "-") continue;
        references[fields.front()] = splitOn(fields.back(), ',');
    }
    return references;
}

std::vector<std::string> bmpFilesIn(const std::string& folder) {
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(kImages / folder))
        if (entry.path().extension() == ".bmp") files.push_back(folder + "/" + entry.path().filename().string());
    std::sort(files.begin(), files.end());
    return files;
}

// The first pixel whose red, green or blue differs, or nothing when all agree.
std::optional<std::string> firstDifference(const core::Bitmap& bitmap, const fs::path& reference) {
    QImage image(QString::fromStdString(reference.string()));
    if (image.isNull()) return "reference does not load";
    image = image.convertToFormat(QImage::Format_RGB32);
    if (image.width() != bitmap.width || image.height() != bitmap.height)
        return "size " + std::to_string(bitmap.width) + "x" + std::to_string(bitmap.height);
    for (int y = 0; y < bitmap.height; ++y) {
        for (int x = 0; x < bitmap.width; ++x) {
            const std::uint32_t ours = bitmap.pixels[static_cast<std::size_t>(y) * bitmap.width + x] & 0xFFFFFF;
            const std::uint32_t theirs = image.pixel(x, y) & 0xFFFFFF;
            if (ours != theirs) {
                std::ostringstream text;
                text << "pixel (" << x << ", " << y << ") " << std::hex << ours << " vs " << theirs;
                return text.str();
            }
        }
    }
    return std::nullopt;
}

// Which of the listed renderings the pixels match, if any.
std::optional<std::string> matchingReference(const core::Bitmap& bitmap, const std::vector<std::string>& refs) {
    for (const auto& ref : refs)
        if (!firstDifference(bitmap, kReferenceSuite / ref)) return ref;
    return std::nullopt;
}

enum class Outcome { Decoded, Refused };

// Decodes one file; refusals must be one of the decoder's own failures, and a
// decoded sheet must be whole and opaque.
Outcome decodeSafely(const std::string& file, core::Bitmap& bitmap, std::string& refusal) {
    try {
        bitmap = core::decodeBmp(readFile(kImages / file));
    } catch (const core::StreamReadFailure&) {
        refusal = "stream read";
        return Outcome::Refused;
    } catch (const core::InvalidBitmapFailure&) {
        refusal = "invalid bitmap";
        return Outcome::Refused;
    } catch (const core::OutOfMemoryFailure&) {
        refusal = "out of memory";
        return Outcome::Refused;
    }
    EXPECT_EQ(bitmap.pixels.size(), static_cast<std::size_t>(bitmap.width) * static_cast<std::size_t>(bitmap.height))
        << file;
    EXPECT_TRUE(std::all_of(bitmap.pixels.begin(), bitmap.pixels.end(), [](std::uint32_t p) { return p >> 24 == 0xFF; }))
        << file;
    return Outcome::Decoded;
}

// Files that the decoder's rules let load as their reference shows: the pixel
// offset past a gap, colour tables above 256 entries, headers of 16, 52, 64 and
// 124 bytes, bit fields of unusual widths, and run-length data that skips pixels
// (skipped pixels are black). Sheets are opaque, so references with transparent
// pixels cannot match.
const std::vector<std::string> kQuestionableFilesThatMatch = {
    "q/pal8offs.bmp",        "q/pal8oversizepal.bmp", "q/rgb24largepal.bmp", "q/pal8os2v2.bmp",
    "q/pal8os2v2-sz.bmp",    "q/pal8os2v2-40sz.bmp",  "q/pal8os2v2-16.bmp",  "q/rgb32h52.bmp",
    "q/rgb32-xbgr.bmp",      "q/rgb24lprof.bmp",    "q/rgb16-231.bmp",
    "q/rgb16-3103.bmp",      "q/rgb32-7187.bmp",  "q/rgb16faketrns.bmp",
    "q/rgb32fakealpha.bmp",  "q/pal4rletrns.bmp",     "q/pal8rletrns.bmp",   "q/pal4rlecut.bmp",
    "q/pal8rlecut.bmp",
};

// Every good file, and the questionable ones above.
std::vector<std::string> filesThatDecodeExactly() {
    auto files = bmpFilesIn("g");
    files.insert(files.end(), kQuestionableFilesThatMatch.begin(), kQuestionableFilesThatMatch.end());
    return files;
}

void appendLittleEndian(std::string& bytes, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<char>((value >> shift) & 0xFF));
}

// SHA-256 of the width, the height and each pixel's red, green and blue: all that a
// sheet shows, since every sheet is opaque.
std::string pixelDigest(const core::Bitmap& bitmap) {
    std::string bytes;
    bytes.reserve(8 + bitmap.pixels.size() * 3);
    appendLittleEndian(bytes, static_cast<std::uint32_t>(bitmap.width));
    appendLittleEndian(bytes, static_cast<std::uint32_t>(bitmap.height));
    for (const std::uint32_t pixel : bitmap.pixels) {
        bytes.push_back(static_cast<char>((pixel >> 16) & 0xFF));
        bytes.push_back(static_cast<char>((pixel >> 8) & 0xFF));
        bytes.push_back(static_cast<char>(pixel & 0xFF));
    }
    const QByteArray digest = QCryptographicHash::hash(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())),
                                                       QCryptographicHash::Sha256);
    return digest.toHex().toStdString();
}

// "g/pal8.bmp" → the digest recorded for it.
std::map<std::string, std::string> recordedDigests() {
    std::map<std::string, std::string> digests;
    std::stringstream table(readFile(kDigests));
    std::string line;
    std::getline(table, line);  // column names
    while (std::getline(table, line)) {
        const auto fields = splitOn(line, '\t');
        if (fields.size() == 2) digests[fields[0]] = fields[1];
    }
    return digests;
}

TEST(BmpSuite, GoodFilesDecodeToTheirRecordedPixels) {
    ASSERT_EQ(bmpFilesIn("g").size(), 27u);
    const auto digests = recordedDigests();
    const auto files = filesThatDecodeExactly();
    EXPECT_EQ(digests.size(), files.size()) << "the table lists files that need not decode exactly";
    for (const auto& file : files) {
        SCOPED_TRACE(file);
        const auto recorded = digests.find(file);
        ASSERT_NE(recorded, digests.end()) << "no digest recorded";
        EXPECT_EQ(pixelDigest(core::decodeBmp(readFile(kImages / file))), recorded->second);
    }
}

// Prints each matching file's digest, in the table's form, so that a run with the
// renderings present is also how the table is recorded.
TEST(BmpSuite, GoodFilesMatchTheReferenceRenderings) {
    if (!fs::exists(kReferenceSuite / "index.tsv")) GTEST_SKIP() << "no reference renderings in " << kReferenceSuite;
    const auto references = referencesByFile();
    for (const auto& file : filesThatDecodeExactly()) {
        SCOPED_TRACE(file);
        const auto refs = references.find(file);
        ASSERT_NE(refs, references.end());
        const core::Bitmap bitmap = core::decodeBmp(readFile(kImages / file));
        const auto matched = matchingReference(bitmap, refs->second);
        EXPECT_TRUE(matched.has_value()) << *firstDifference(bitmap, kReferenceSuite / refs->second.front());
        if (matched) std::cout << file << '\t' << pixelDigest(bitmap) << '\n';
    }
}

TEST(BmpSuite, BadFilesAreRefusedOrDecodedSafely) {
    auto files = bmpFilesIn("b");
    ASSERT_EQ(files.size(), 20u);
    files.push_back("x/ba-bm.bmp");
    for (const auto& file : files) {
        core::Bitmap bitmap;
        std::string refusal;
        const Outcome outcome = decodeSafely(file, bitmap, refusal);
        std::cout << "  " << file << ": "
                  << (outcome == Outcome::Refused ? refusal
                                                  : "decoded " + std::to_string(bitmap.width) + "x" +
                                                        std::to_string(bitmap.height))
                  << '\n';
    }
}

// Which of them load is listed in the README; the exact ones are checked above.
TEST(BmpSuite, QuestionableFilesLoadOrAreRefused) {
    const auto files = bmpFilesIn("q");
    ASSERT_EQ(files.size(), 41u);
    for (const auto& file : files) {
        core::Bitmap bitmap;
        std::string refusal;
        const Outcome outcome = decodeSafely(file, bitmap, refusal);
        std::cout << "  " << file << ": "
                  << (outcome == Outcome::Refused ? "refused (" + refusal + ")"
                                                  : "loads " + std::to_string(bitmap.width) + "x" +
                                                        std::to_string(bitmap.height))
                  << '\n';
    }
}

}  // namespace

// The decoder against the public BMP test suite: good files must match their
// reference renderings, bad and questionable ones must load or be refused cleanly.
#include <gtest/gtest.h>

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

#include "core/bmp.h"
#include "core/failures.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSuite = fs::path(QUARVEL_TESTDATA) / "bmpsuite";

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
    std::stringstream index(readFile(kSuite / "index.tsv"));
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
    for (const auto& entry : fs::directory_iterator(kSuite / folder))
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
        if (!firstDifference(bitmap, kSuite / ref)) return ref;
    return std::nullopt;
}

enum class Outcome { Decoded, Refused };

// Decodes one file; refusals must be one of the decoder's own failures, and a
// decoded sheet must be whole and opaque.
Outcome decodeSafely(const std::string& file, core::Bitmap& bitmap, std::string& refusal) {
    try {
        bitmap = core::decodeBmp(readFile(kSuite / file));
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

TEST(BmpSuite, GoodFilesMatchTheirReferences) {
    const auto references = referencesByFile();
    const auto files = bmpFilesIn("g");
    ASSERT_EQ(files.size(), 27u);
    for (const auto& file : files) {
        SCOPED_TRACE(file);
        const auto refs = references.find(file);
        ASSERT_NE(refs, references.end());
        const core::Bitmap bitmap = core::decodeBmp(readFile(kSuite / file));
        const auto matched = matchingReference(bitmap, refs->second);
        EXPECT_TRUE(matched.has_value()) << *firstDifference(bitmap, kSuite / refs->second.front());
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

TEST(BmpSuite, QuestionableFilesLoadOrAreRefused) {
    const auto references = referencesByFile();
    const auto files = bmpFilesIn("q");
    ASSERT_EQ(files.size(), 41u);
    for (const auto& file : files) {
        core::Bitmap bitmap;
        std::string refusal;
        std::string result;
        if (decodeSafely(file, bitmap, refusal) == Outcome::Refused) {
            result = "refused (" + refusal + ")";
        } else {
            const auto refs = references.find(file);
            const auto matched = refs == references.end() ? std::nullopt : matchingReference(bitmap, refs->second);
            result = matched ? "loads, matches " + *matched : "loads, differs from its reference";
        }
        std::cout << "  " << file << ": " << result << '\n';
        const bool expectedToMatch = std::find(kQuestionableFilesThatMatch.begin(), kQuestionableFilesThatMatch.end(),
                                               file) != kQuestionableFilesThatMatch.end();
        if (expectedToMatch) {
            EXPECT_EQ(result.rfind("loads, matches", 0), 0u) << file << ": " << result;
        }
    }
}

}  // namespace

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/project/integer_syntax.h"
#include "core/project/text_file_reader.h"
#include "core/project/text_file_writer.h"
#include "core/text/failures.h"
#include "support/io_failure_number.h"
#include "support/temp_folder.h"

namespace {

using testsupport::ioNumberOf;
using testsupport::readAll;
using testsupport::TempFolder;

constexpr std::size_t kOneMiB = std::size_t{1} << 20;

// ---- Reading ----

TEST(TextFileReader, LinesEndAtLfWithoutTheCrBeforeItAndStrayCrsAreDropped) {
    const TempFolder folder;
    core::TextFileReader in(folder.write("lines", "one\r\ntwo\nth\rree\r\r\n\nlast"));
    std::vector<std::string> lines;
    for (int i = 0; i < 7; ++i) {
        lines.push_back(in.readLine());
        in.finishLine();
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "three", "", "last", "", ""}));
    EXPECT_TRUE(in.atEnd());
}

TEST(TextFileReader, FinishingALineSkipsTheRestOfItButALoneCrEndsNothing) {
    const TempFolder folder;
    core::TextFileReader in(folder.write("numbers", "7 8\r\n9\rjunk\n\n\n  \t 10"));
    EXPECT_EQ(in.readNumber(), 7);
    in.finishLine();
    EXPECT_EQ(in.readNumber(), 9);
    in.finishLine();
    EXPECT_EQ(in.readNumber(), 10);  // blank lines and blanks are passed over
    in.finishLine();
    EXPECT_EQ(in.readNumber(), 0);  // end of file: 0 and no failure
    EXPECT_EQ(in.readLine(), "");
}

TEST(TextFileReader, NumbersTakeTheIntegerSyntax) {
    const TempFolder folder;
    core::TextFileReader in(folder.write("forms", "$10\n0x10\n+16\n-1\nX1f\n2147483647\n-2147483648\n"));
    for (int expected : {16, 16, 16, -1, 31, 2147483647, -2147483647 - 1}) {
        EXPECT_EQ(in.readNumber(), expected);
        in.finishLine();
    }
}

TEST(TextFileReader, MalformedNumbersFailWith106) {
    const TempFolder folder;
    for (const char* text : {"abc\n", "7,8\n", "-\n", "$\n", "2147483648\n", "12a\n"}) {
        core::TextFileReader in(folder.write("bad", text));
        EXPECT_EQ(ioNumberOf([&] { in.readNumber(); }), 106) << text;
    }
}

TEST(TextFileReader, ANumberRunIsCutAfterItsThirtySecondByte) {
    const TempFolder folder;
    // 31 zeros, then "12": the run is cut before the "2", which the line's end skips.
    core::TextFileReader in(folder.write("long", std::string(31, '0') + "12\n5\n" + std::string(32, '0') + "x\n"));
    EXPECT_EQ(in.readNumber(), 1);
    in.finishLine();
    EXPECT_EQ(in.readNumber(), 5);
    in.finishLine();
    EXPECT_EQ(in.readNumber(), 0);  // the "x" lies beyond the 32 bytes
    // Without finishing the line the cut-off byte is the next run.
    EXPECT_EQ(ioNumberOf([&] { in.readNumber(); }), 106);
}

TEST(TextFileReader, CtrlZEndsTheFileWhereverItStands) {
    const TempFolder folder;
    core::TextFileReader numbers(folder.write("z1", "5\n6\x1a" "7\n8\n"));
    EXPECT_EQ(numbers.readNumber(), 5);
    numbers.finishLine();
    EXPECT_EQ(numbers.readNumber(), 6);
    numbers.finishLine();
    EXPECT_TRUE(numbers.atEnd());
    EXPECT_EQ(numbers.readNumber(), 0);

    core::TextFileReader lines(folder.write("z2", "ab\x1a" "cd\nef\n"));
    EXPECT_EQ(lines.readLine(), "ab");
    lines.finishLine();
    EXPECT_EQ(lines.readLine(), "");
}

TEST(TextFileReader, LinesAndNumbersCrossTheReadBlocks) {
    const TempFolder folder;
    // A line longer than a block (its first 64 KiB kept, the rest skipped across the
    // block end), then a number whose digits straddle a block end and a CR LF split by
    // the next one.
    const std::string longLine(kOneMiB + 123, 'a');
    std::string bytes = longLine + "\r\n";
    bytes += std::string(2 * kOneMiB - bytes.size() - 3, ' ');
    bytes += "123456\r";
    bytes += std::string(kOneMiB, ' ') + "\n$ff";
    core::TextFileReader in(folder.write("blocks", bytes));
    EXPECT_TRUE(in.readLine() == longLine.substr(0, 64 * 1024));
    in.finishLine();
    EXPECT_EQ(in.readNumber(), 123456);
    in.finishLine();
    EXPECT_EQ(in.readNumber(), 255);
    EXPECT_TRUE(in.atEnd());
}

TEST(TextFileReader, NumberLinesMixTheShortFormWithEveryOtherRule) {
    const TempFolder folder;
    core::TextFileReader in(folder.write("cells", "1\r\n22\n\r\n 3\n4 x\n70000\r\n-1\n$10\n1234567890\n5\r6\n7"));
    std::uint16_t cells[9] = {};
    EXPECT_EQ(in.readNumberLines(cells, 2), 2u);
    EXPECT_EQ(in.readNumberLines(nullptr, 1), 1u);  // read and dropped
    // A lone CR does not end the line of 5, so its 6 is skipped with it.
    EXPECT_EQ(in.readNumberLines(cells + 2, 7), 7u);
    EXPECT_EQ(in.readNumberLines(cells, 3), 0u);  // the file has ended
    const std::uint16_t expected[9] = {1, 22, 4, 4464, 65535, 16, 1234567890 % 65536, 5, 7};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(cells[i], expected[i]) << i;

    core::TextFileReader bad(folder.write("bad", "1\n2\n3x\n"));
    EXPECT_EQ(ioNumberOf([&] { bad.readNumberLines(cells, 3); }), 106);
}

// The reading rules written plainly over the whole text, the reference the reader's
// fast paths must agree with: skip bytes 0..32, take the run of bytes above 32 (at
// most 32) by the integer syntax, then skip past the line's LF. Gives the cells up
// to the first malformed one, and whether there was one.
std::pair<std::vector<std::uint16_t>, bool> plainCells(std::string_view text) {
    std::vector<std::uint16_t> cells;
    for (std::size_t at = 0; at < text.size();) {
        while (at < text.size() && static_cast<unsigned char>(text[at]) <= 32) ++at;
        const std::size_t start = at;
        while (at < text.size() && at - start < 32 && static_cast<unsigned char>(text[at]) > 32) ++at;
        const auto value = at == start ? 0 : core::tryParseInteger(text.substr(start, at - start));
        if (!value) return {cells, true};
        cells.push_back(static_cast<std::uint16_t>(*value));
        at = std::min(text.find('\n', at), text.size() - 1) + 1;
    }
    return {cells, false};
}

// Number lines of every form, one of them malformed in half of the files, some
// files starting with a line longer than a read block so that the block ends fall
// anywhere among the lines.
std::string generatedCells(std::mt19937& random) {
    const std::vector<std::string> forms = {"7", "65535", "123456789", "1234567890", "99999999999", "-1", "+16",
                                            "$ff", "0x10", "X1f", "  42", "\t5", "7 8", "9 junk", "", "5\r6", "0"};
    const std::vector<std::string> malformed = {"12x", "7,8", "1-", "$", "0x", "2147483648", "123456789a"};
    std::string text = random() % 4 == 0 ? "1 " + std::string(kOneMiB - random() % 64, 'a') + "\n" : "";
    const std::size_t lines = 200 + random() % 2000;
    const std::size_t bad = random() % 2 == 0 ? random() % lines : lines;
    for (std::size_t i = 0; i < lines; ++i) {
        const std::string& form = i == bad ? malformed[random() % malformed.size()] : forms[random() % forms.size()];
        text += form + (random() % 2 ? "\r\n" : "\n");
    }
    return text;
}

TEST(TextFileReader, FastPathsAgreeWithThePlainRulesOnGeneratedLines) {
    const TempFolder folder;
    std::mt19937 random(20240612);
    for (int file = 0; file < 40; ++file) {
        const std::string text = generatedCells(random);
        const std::string path = folder.write("cells", text);
        const auto [expected, malformed] = plainCells(text);
        const int failure = malformed ? 106 : 0;

        std::vector<std::uint16_t> cells(expected.size() + 1, 0xBEEF);
        core::TextFileReader lines(path);
        EXPECT_EQ(ioNumberOf([&] { EXPECT_EQ(lines.readNumberLines(cells.data(), cells.size()), expected.size()); }),
                  failure);
        cells.resize(expected.size());
        EXPECT_EQ(cells, expected) << "file " << file;

        core::TextFileReader numbers(path);
        std::vector<std::uint16_t> oneByOne;
        EXPECT_EQ(ioNumberOf([&] {
                      while (oneByOne.size() < expected.size() + malformed) {
                          oneByOne.push_back(static_cast<std::uint16_t>(numbers.readNumber()));
                          numbers.finishLine();
                      }
                  }),
                  failure);
        oneByOne.resize(expected.size());
        EXPECT_EQ(oneByOne, expected) << "file " << file;
    }
}

// A header line keeps its first 64 KiB, so a line of any length costs little memory;
// the rest of it is skipped and reading goes on with the next line.
TEST(TextFileReader, ALineKeepsItsFirst64KiB) {
    const TempFolder folder;
    const std::string kept(64 * 1024, 'k');
    core::TextFileReader in(folder.write("long", "\r" + kept + "\rcut\r\nnext\n" + kept + "\n"));
    EXPECT_TRUE(in.readLine() == kept);  // the CRs are not kept, so they do not count
    in.finishLine();
    EXPECT_EQ(in.readLine(), "next");
    in.finishLine();
    EXPECT_TRUE(in.readLine() == kept);
}

TEST(TextFileReader, OpeningFailsWithTheMappedNumber) {
    const TempFolder folder;
    EXPECT_EQ(ioNumberOf([&] { core::TextFileReader in(folder.file("missing.quarvel")); }), 2);
    EXPECT_EQ(ioNumberOf([&] { core::TextFileReader in(folder.file("nofolder/x.quarvel")); }), 3);
    EXPECT_EQ(ioNumberOf([&] { core::TextFileReader in(folder.path()); }), 5);
}

// ---- Writing ----

TEST(TextFileWriter, EveryLineEndsWithCrLfAndNothingReachesTheTargetBeforeCommit) {
    const TempFolder folder;
    const std::string target = folder.write("out.txt", "old");
    {
        core::TextFileWriter out(target);
        out.writeLine("first");
        out.writeLine("");
        const std::uint16_t cells[] = {0, 65535};
        out.writeNumberLines(cells, 2);
        out.writeLine("4294967295");
        EXPECT_EQ(readAll(target), "old");
        out.commit();
    }
    EXPECT_EQ(readAll(target), "first\r\n\r\n0\r\n65535\r\n4294967295\r\n");
    EXPECT_EQ(folder.entryCount(), 1u);
}

// The cell lines' fast paths against the same lines written one by one, across the
// buffer's end: no prefix (project files), eight bytes (the GAS data) and others.
TEST(TextFileWriter, NumberLinesAreTheLinesWrittenOneByOne) {
    const TempFolder folder;
    std::vector<std::uint16_t> values(200000);
    for (std::size_t i = 0; i < values.size(); ++i) values[i] = static_cast<std::uint16_t>(i * 7919);
    for (const std::string prefix : {"", "\t.short\t", "x", "\t.fill\t1, 2,"}) {
        core::TextFileWriter bulk(folder.file("bulk"));
        bulk.writeNumberLines(values.data(), values.size(), prefix);
        bulk.commit();
        core::TextFileWriter single(folder.file("single"));
        for (const std::uint16_t value : values) single.writeLine(prefix + std::to_string(value));
        single.commit();
        EXPECT_TRUE(readAll(folder.file("bulk")) == readAll(folder.file("single"))) << "prefix '" << prefix << "'";
    }
}

TEST(TextFileWriter, LinesLargerThanTheBufferAreWrittenWhole) {
    const TempFolder folder;
    const std::string target = folder.file("big.txt");
    const std::string big(3 * kOneMiB + 7, 'q');
    core::TextFileWriter out(target);
    out.writeLine("a");
    out.writeLine(big);
    out.writeLine("b");
    out.commit();
    EXPECT_EQ(readAll(target), "a\r\n" + big + "\r\nb\r\n");
}

TEST(TextFileWriter, AbandonedWriterLeavesTheOldFileAndNoTemporaryFile) {
    const TempFolder folder;
    const std::string target = folder.write("keep.txt", "old contents");
    {
        core::TextFileWriter out(target);
        for (int i = 0; i < 300000; ++i) out.writeLine("new line");  // several buffers flushed
    }
    EXPECT_EQ(readAll(target), "old contents");
    EXPECT_EQ(folder.entryCount(), 1u);
}

TEST(TextFileWriter, CreatingFailsWithTheMappedNumberAndWritesNothing) {
    const TempFolder folder;
    EXPECT_EQ(ioNumberOf([&] { core::TextFileWriter out(folder.file("nofolder/x.txt")); }), 3);
    std::filesystem::create_directory(folder.file("sub"));
    EXPECT_EQ(ioNumberOf([&] { core::TextFileWriter out(folder.file("sub")); }), 5);
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("sub")));
    EXPECT_TRUE(std::filesystem::is_empty(folder.file("sub")));
}

}  // namespace

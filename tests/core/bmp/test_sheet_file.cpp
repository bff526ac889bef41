// Reading a tile sheet from its file: what a regular file decodes to, and the files
// that are refused at once or read only in part.

#include <chrono>
#include <gtest/gtest.h>
#include <stdexcept>

#include "core/bmp/bmp.h"
#include "core/bmp/sheet_file.h"
#include "core/text/failures.h"
#include "support/sheet_samples.h"
#include "support/bmp_file_builder.h"
#include "support/temp_folder.h"

namespace {

using testsupport::BmpFields;
using testsupport::TempFolder;
using testsupport::largeSheet;
using testsupport::runLengthRow;
using testsupport::samePixels;

TEST(SheetFile, DecodesAsTheWholeFileDoes) {
    const TempFolder folder;
    for (const std::string& bytes : {largeSheet(), largeSheet(4u << 20), runLengthRow(40), std::string()}) {
        const std::string path = folder.write("sheet.bmp", bytes);
        EXPECT_TRUE(samePixels(core::readSheetFile(path, "sheet.bmp"), core::decodeBmp(bytes))) << bytes.size();
    }
    // A file cut short inside its pixels decodes as the bytes it holds.
    const std::string cut = largeSheet().substr(0, 70000);
    EXPECT_TRUE(samePixels(core::readSheetFile(folder.write("cut.bmp", cut), "cut.bmp"), core::decodeBmp(cut)));
}

TEST(SheetFile, AHeaderClaimingMoreThan64KiBIsNoBitmap) {
    BmpFields fields;
    fields.headerSize = 64 * 1024 + 4;
    fields.pixels = "\1\2\3";
    EXPECT_THROW(core::decodeBmp(testsupport::buildBmp(fields)), core::InvalidBitmapFailure);
    fields.headerSize = 64 * 1024;
    EXPECT_EQ(core::decodeBmp(testsupport::buildBmp(fields)).width, 1);
}

}  // namespace

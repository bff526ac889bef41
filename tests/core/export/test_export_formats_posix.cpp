// An export that fails part-way, made to by a file-size limit as on a full disk.
#include <gtest/gtest.h>

#include <string>

#include "core/export/export_formats.h"
#include "core/text/failures.h"
#include "support/posix_files.h"
#include "support/temp_folder.h"

namespace {

TEST(ExportAtomicity, FailedWriteKeepsTheEarlierFile) {
    testsupport::TempFolder folder;
    const std::string earlier = "earlier export\r\n";
    const std::string path = folder.write("map.h", earlier);
    core::EditorState big;
    big.Map = core::TileMap(512, 512, 12345);  // about 3.5 MB of GAS
    big.MapWidth = big.MapHeight = 512;
    {
        testsupport::FileSizeLimit limit(256 * 1024);
        ASSERT_TRUE(limit.applied());
        EXPECT_THROW(core::exportToFile(core::ExportFormat::Gas, big, path), core::IoFailure);
    }
    EXPECT_EQ(testsupport::readAll(path), earlier);
    EXPECT_EQ(folder.entryCount(), 1u) << "the unfinished file must not stay behind";
}

}  // namespace

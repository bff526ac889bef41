// The errno values of a POSIX system as the failure numbers, which are Windows'.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "core/platform/os_error_mapping.h"
#include "support/temp_folder.h"

namespace {


TEST(OsErrorMapping, ErrnoGivesTheFailureNumbers) {
    struct Case {
        int error;
        int number;
    };
    const Case cases[] = {
        {ENOTDIR, 3},  {EMFILE, 4},       {ENFILE, 4},  {EACCES, 5},  {EPERM, 5},  {EROFS, 5},
        {EISDIR, 5},   {ETXTBSY, 32},     {EBUSY, 32},  {ENOSPC, 112}, {EDQUOT, 112}, {ENAMETOOLONG, 123},
        {EILSEQ, 123}, {EINVAL, 123},     {EFBIG, 112}, {ELOOP, 3},   {EXDEV, 17},
        // A pipe without a reader, a device that is not there: nothing to open.
        {ENXIO, 2},    {ENODEV, 2},       {EAGAIN, 32}, {EPIPE, 232},  {EIO, 1117},  {EBADF, 6},
        {ENOMEM, 8},   {EOPNOTSUPP, 50},  {ESTALE, 59}, {ETIMEDOUT, 59}, {EEXIST, 80}, {ENOTEMPTY, 145},
        {EOVERFLOW, 223}, {EMLINK, 1142},
    };
    for (const Case& c : cases) EXPECT_EQ(core::ioFailureNumber(c.error, true), c.number) << "errno " << c.error;
    EXPECT_EQ(core::ioFailureNumber(ENOENT, true), 2);
    EXPECT_EQ(core::ioFailureNumber(ENOENT, false), 3);
    // errno 5 is a device error, which must not read as access denied.
    EXPECT_NE(core::ioFailureNumber(EIO, true), 5);
}

TEST(OsErrorMapping, MissingEntryLooksAtTheFolderOfThePath) {
    const testsupport::TempFolder folder;
    EXPECT_EQ(core::ioFailureNumberForPath(ENOENT, folder.file("missing.quarvel")), 2);
    EXPECT_EQ(core::ioFailureNumberForPath(ENOENT, folder.file("missing/x.quarvel")), 3);
    const std::string plainFile = folder.write("plain", "x");
    EXPECT_EQ(core::ioFailureNumberForPath(ENOENT, plainFile + "/x.quarvel"), 3);
    EXPECT_EQ(core::ioFailureNumberForPath(EACCES, folder.file("missing/x")), 5);
    EXPECT_EQ(core::folderOf("name"), ".");
    EXPECT_EQ(core::folderOf("/name"), "/");
    EXPECT_EQ(core::folderOf("a/b/name"), "a/b");
}

}  // namespace

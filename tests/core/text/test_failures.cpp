#include "core/text/failures.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>

#include "core/platform/os_error_mapping.h"
#include "support/cp932.h"
#include "support/temp_folder.h"

namespace {

using testsupport::cp932;

TEST(FailureTexts, EachKindCarriesItsTextAndTheFullStopRuleDecidesTheEnd) {
    struct Case {
        core::Failure failure;
        std::string shown;
    };
    const Case cases[] = {
        {core::ConversionFailure("abc"), cp932("'abc' は整数ではありません.")},
        {core::ConversionFailure(""), cp932("'' は整数ではありません.")},
        {core::IoFailure(2), cp932("ファイルが見つかりません.")},
        {core::IoFailure(3), cp932("不正なファイル名です.")},
        {core::IoFailure(4), cp932("オープンしたファイルが多すぎます.")},
        {core::IoFailure(5), cp932("ファイルへのアクセスが拒否されました.")},
        {core::IoFailure(106), cp932("入力値が数値ではありません.")},
        {core::IoFailure(32), cp932("I/O エラー (32)")},
        {core::IoFailure(112), cp932("I/O エラー (112)")},
        {core::IoFailure(-7), cp932("I/O エラー (-7)")},
        {core::RangeFailure(), cp932("範囲チェックエラー.")},
        {core::OutOfMemoryFailure(), cp932("メモリが足りません.")},
        {core::FileOpenFailure(""), cp932("ファイル  は開けません.")},
        {core::FileOpenFailure(cp932("C:\\絵.bmp")), cp932("ファイル C:\\絵.bmp は開けません.")},
        {core::InvalidBitmapFailure(), cp932("ビットマップイメージが不正です.")},
        {core::StreamReadFailure(), cp932("ストリームからの読み込みエラー.")},
    };
    for (const Case& c : cases) EXPECT_EQ(core::textToShow(c.failure), c.shown) << testsupport::utf8(c.shown);
}

// What every boundary shows for an exception that reached it.
TEST(FailureTexts, AnEscapedExceptionBecomesTheTextOfItsFailure) {
    EXPECT_EQ(core::failureText(core::IoFailure(32)), cp932("I/O エラー (32)"));
    EXPECT_EQ(core::failureText(std::bad_alloc()), cp932("メモリが足りません."));
    // One of no kind of ours is shown with its own text rather than lost.
    EXPECT_EQ(core::failureText(std::out_of_range("bad index")), "bad index.");
}

TEST(FailureTexts, FullStopLooksAtTheFirstByteOfTheLastCharacter) {
    // "-" is 0x2D, "/" 0x2F; a double-byte full stop is one character led by 0x81, so it
    // still gets "."; a single-byte katakana (0xA1..0xDF) is a character of its own.
    const std::pair<std::string, std::string> cases[] = {
        {"", ""}, {"ends.", "ends."}, {"ends)", "ends)"}, {"ends-", "ends-"}, {"ends/", "ends/."},
        {"code 7", "code 7."}, {cp932("終わり．"), cp932("終わり．.")}, {"\xb1", "\xb1."},
        {cp932("エラー（"), cp932("エラー（.")}};
    for (const auto& [message, shown] : cases) EXPECT_EQ(core::withFullStop(message), shown) << message;
}

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

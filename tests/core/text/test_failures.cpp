#include "core/text/failures.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <utility>

#include "support/cp932.h"

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

}  // namespace

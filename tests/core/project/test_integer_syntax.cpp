#include "core/project/integer_syntax.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <utility>

#include "core/text/failures.h"
#include "support/cp932.h"

namespace {

using core::tryParseInteger;

// Each text with the value it reads as, or none when it is no integer.
void expectValues(std::initializer_list<std::pair<std::string, std::optional<std::int32_t>>> cases) {
    for (const auto& [text, value] : cases) EXPECT_EQ(tryParseInteger(text), value) << "'" << text << "'";
}

constexpr std::nullopt_t kNone = std::nullopt;

TEST(IntegerSyntax, DecimalWithOptionalSign) {
    expectValues({{"0", 0}, {"32", 32}, {"+16", 16}, {"-1", -1}, {"010", 10}, {"-0", 0}, {"-", kNone}, {"+", kNone},
                  {"+-1", kNone}, {"1-", kNone}, {"1.5", kNone}, {"abc", kNone}});
}

TEST(IntegerSyntax, DecimalLimitsAreExactlyThirtyTwoBits) {
    expectValues({{"2147483647", INT_MAX}, {"-2147483648", INT_MIN}, {"00000000000002147483647", INT_MAX},
                  {"2147483648", kNone}, {"-2147483649", kNone}, {"4294967296", kNone},
                  {"99999999999999999999", kNone}});
}

TEST(IntegerSyntax, EveryHexadecimalPrefixInEitherCase) {
    for (const std::string prefix : {"$", "x", "X", "0x", "0X"}) {
        expectValues({{prefix + "10", 16}, {prefix + "aF", 175}, {prefix + "Fa", 250}, {prefix, kNone},
                      {prefix + "g", kNone}, {"-" + prefix + "10", kNone}, {"+" + prefix + "10", kNone}});
    }
    expectValues({{"0x-1", kNone}, {"$$1", kNone}});
}

TEST(IntegerSyntax, HexadecimalFillsThirtyTwoBitsAndWrapsToNegative) {
    expectValues({{"$7FFFFFFF", INT_MAX}, {"$80000000", INT_MIN}, {"$FFFFFFFF", -1}, {"0x0000000000FFFFFFFF", -1},
                  {"$100000000", kNone}, {"0x1FFFFFFFF", kNone}});
}

TEST(IntegerSyntax, OnlyLeadingSpacesAreSkipped) {
    expectValues({{"   32", 32}, {" $20", 32}, {"", kNone}, {"   ", kNone}, {"32 ", kNone}, {"\t32", kNone},
                  {"3 2", kNone}, {"- 1", kNone}, {std::string("32\0", 3), kNone}});
}

TEST(IntegerSyntax, ToIntegerRaisesTheConversionFailureQuotingTheText) {
    EXPECT_EQ(core::toInteger("$20"), 32);
    const std::string text = testsupport::cp932("幅 ");
    try {
        core::toInteger(text);
        FAIL() << "no failure raised";
    } catch (const core::ConversionFailure& failure) {
        EXPECT_EQ(failure.text(), text);
        EXPECT_EQ(failure.message(), "'" + text + testsupport::cp932("' は整数ではありません"));
    }
}

}  // namespace

#include "core/integer_syntax.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "core/failures.h"
#include "support/cp932.h"

namespace {

using core::tryParseInteger;

void expectValue(const std::string& text, std::int32_t expected) {
    const auto value = tryParseInteger(text);
    ASSERT_TRUE(value.has_value()) << "'" << text << "'";
    EXPECT_EQ(*value, expected) << "'" << text << "'";
}

void expectRejected(const std::string& text) { EXPECT_FALSE(tryParseInteger(text).has_value()) << "'" << text << "'"; }

TEST(IntegerSyntax, DecimalWithOptionalSign) {
    expectValue("0", 0);
    expectValue("32", 32);
    expectValue("+16", 16);
    expectValue("-1", -1);
    expectValue("010", 10);
    expectValue("-0", 0);
    expectRejected("-");
    expectRejected("+");
    expectRejected("+-1");
    expectRejected("1-");
    expectRejected("1.5");
    expectRejected("abc");
}

TEST(IntegerSyntax, DecimalLimitsAreExactlyThirtyTwoBits) {
    expectValue("2147483647", INT_MAX);
    expectValue("-2147483648", INT_MIN);
    expectValue("00000000000002147483647", INT_MAX);
    expectRejected("2147483648");
    expectRejected("-2147483649");
    expectRejected("4294967296");
    expectRejected("99999999999999999999");
}

TEST(IntegerSyntax, EveryHexadecimalPrefixInEitherCase) {
    for (const char* prefix : {"$", "x", "X", "0x", "0X"}) {
        expectValue(std::string(prefix) + "10", 16);
        expectValue(std::string(prefix) + "aF", 175);
        expectValue(std::string(prefix) + "Fa", 250);
        expectRejected(std::string(prefix));
        expectRejected(std::string(prefix) + "g");
        expectRejected("-" + std::string(prefix) + "10");
        expectRejected("+" + std::string(prefix) + "10");
    }
    expectRejected("0x-1");
    expectRejected("$$1");
}

TEST(IntegerSyntax, HexadecimalFillsThirtyTwoBitsAndWrapsToNegative) {
    expectValue("$7FFFFFFF", INT_MAX);
    expectValue("$80000000", INT_MIN);
    expectValue("$FFFFFFFF", -1);
    expectValue("0x0000000000FFFFFFFF", -1);
    expectRejected("$100000000");
    expectRejected("0x1FFFFFFFF");
}

TEST(IntegerSyntax, OnlyLeadingSpacesAreSkipped) {
    expectValue("   32", 32);
    expectValue(" $20", 32);
    expectRejected("");
    expectRejected("   ");
    expectRejected("32 ");
    expectRejected("\t32");
    expectRejected("3 2");
    expectRejected("- 1");
    expectRejected(std::string("32\0", 3));
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

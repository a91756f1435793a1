#include "support/error.hpp"
#include "support/numeric.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace quorvex {
namespace {

int32_t errorNumberOf(void (*action)())
{
    try {
        action();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

TEST(Val, ReadsTheLeadingNumberAndStopsAtTheFirstCharacterThatCannotContinueIt)
{
    EXPECT_EQ(Val("12abc"), 12);
    EXPECT_EQ(Val("3.5.1"), 3.5);
    EXPECT_EQ(Val("1,000"), 1);
    EXPECT_EQ(Val("-1"), -1);
    EXPECT_EQ(Val("+5"), 5);
    EXPECT_EQ(Val(".5"), 0.5);
    EXPECT_EQ(Val("7."), 7);
}

TEST(Val, IgnoresBlanksTabsAndLineFeedsAnywhere)
{
    EXPECT_EQ(Val("  1 2\t3\n4"), 1234);
    EXPECT_EQ(Val(" - 1"), -1);
    EXPECT_EQ(Val("1 . 5"), 1.5);
}

TEST(Val, GivesZeroForTextWithoutANumber)
{
    EXPECT_EQ(Val(""), 0);
    EXPECT_EQ(Val("abc"), 0);
    EXPECT_EQ(Val("--5"), 0);
    EXPECT_EQ(Val("-"), 0);
    EXPECT_EQ(Val("."), 0);
    EXPECT_EQ(Val("\r5"), 0);
}

TEST(Val, ReadsExponentsWrittenWithEOrD)
{
    EXPECT_EQ(Val("1e3"), 1000);
    EXPECT_EQ(Val("1D2"), 100);
    EXPECT_EQ(Val("25E-1"), 2.5);
    EXPECT_EQ(Val("2e"), 2);
    EXPECT_EQ(Val("2e+"), 2);
    EXPECT_EQ(Val("1e-400"), 0);
    EXPECT_EQ(Val("0.000e999999999"), 0);
}

TEST(Val, ReadsHexadecimalAndOctalAsSigned16BitWhenTheyFit)
{
    EXPECT_EQ(Val("&H10"), 16);
    EXPECT_EQ(Val("&h7fff"), 32767);
    EXPECT_EQ(Val("&HFFFF"), -1);
    EXPECT_EQ(Val("&H8000"), -32768);
    EXPECT_EQ(Val("&H10000"), 65536);
    EXPECT_EQ(Val("&HFFFFFFFF"), -1);
    EXPECT_EQ(Val("&O17"), 15);
    EXPECT_EQ(Val("&o178"), 15);
    EXPECT_EQ(Val("&HG"), 0);
    EXPECT_EQ(Val("&12"), 0);
}

TEST(Val, OverflowsOnNumbersBeyondItsRange)
{
    EXPECT_EQ(errorNumberOf([] { Val("1e400"); }), err::Overflow);
    EXPECT_EQ(errorNumberOf([] { Val("&H1FFFFFFFF"); }), err::Overflow);
}

TEST(RoundHalfEven, RoundsHalvesToTheEvenNeighbour)
{
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(0.5), 0);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(-3.5), -4);
    EXPECT_EQ(roundHalfEven(2.4999), 2);
    EXPECT_EQ(roundHalfEven(2.5001), 3);
    EXPECT_EQ(roundHalfEven(-0.6), -1);
}

TEST(IntegerConversion, AcceptsEveryValueThatRoundsIntoRange)
{
    EXPECT_EQ(toInt16(32767.4), 32767);
    EXPECT_EQ(toInt16(32766.5), 32766);
    EXPECT_EQ(toInt16(-32768.5), -32768);
    EXPECT_EQ(toInt32(2147483647.0), 2147483647);
    EXPECT_EQ(toInt32(-2147483648.5), -2147483648);
}

TEST(IntegerConversion, OverflowsOutsideTheTypesRange)
{
    EXPECT_EQ(errorNumberOf([] { toInt16(32767.5); }), err::Overflow);
    EXPECT_EQ(errorNumberOf([] { toInt16(-32769); }), err::Overflow);
    EXPECT_EQ(errorNumberOf([] { toInt16(std::nan("")); }), err::Overflow);
    EXPECT_EQ(errorNumberOf([] { toInt32(2147483647.5); }), err::Overflow);
    EXPECT_EQ(errorNumberOf([] { toInt32(std::numeric_limits<double>::infinity()); }),
              err::Overflow);
}

} // namespace
} // namespace quorvex

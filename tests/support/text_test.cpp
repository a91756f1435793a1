#include "support/date_text.hpp"
#include "support/error.hpp"
#include "support/numeric.hpp"
#include "support/strings.hpp"

#include "support_test.hpp"

#include <cstdio>
#include <cstdlib>

namespace quorvex {
namespace {

using test::at;
using test::errorNumberOf;

// Val, the rounding and the integer conversions behind every number that job files and
// Quorvex.ini hold.
TEST(Numbers, AreReadRoundedAndConvertedOrOverflow)
{
    for (const auto& c : test::casesOf("numbers.txt")) {
        double value = 0;
        const int32_t error = errorNumberOf([&] {
            value = c[0] == "Val" ? Val(c[1]) : std::stod(c[1]);
            if (c[0] == "roundHalfEven")
                value = roundHalfEven(value);
            else if (c[0] != "Val")
                value = c[0] == "toInt16" ? toInt16(value) : toInt32(value);
        });
        EXPECT_EQ(error, c[2] == "Overflow" ? err::Overflow : 0) << c[0] << " '" << c[1] << "'";
        if (error == 0) {
            EXPECT_EQ(value, std::stod(c[2])) << c[0] << " '" << c[1] << "'";
        }
    }
}

TEST(DateText, ParsesEveryDateItWritesBack)
{
    for (DateTime date = at(2026, 1, 1); date < at(2028, 1, 1); date = date.addDays(1))
        ASSERT_EQ(parseDate(formatDate(date)), date) << formatDate(date);
}

// What a case's text reads as: the date as written back, the time to the second, or the error.
std::string readAs(const std::string& kind, const std::string& text)
{
    try {
        if (kind == "date")
            return formatDate(parseDate(text));
        const DateTime time = parseTime(text);
        char clock[16];
        std::snprintf(clock, sizeof clock, "%02d:%02d:%02d", time.hour(), time.minute(),
                      time.second());
        return clock;
    } catch (const RuntimeError& e) {
        return e.number() == err::TypeMismatch ? "Type mismatch" : std::to_string(e.number());
    }
}

TEST(DateText, AcceptsEnglishMonthsInAnyCaseIsoDatesAndClockTimesAndRejectsTheRest)
{
    for (const auto& c : test::casesOf("date_time_text.txt"))
        EXPECT_EQ(readAs(c[0], c[1]), c[2]) << '"' << c[1] << '"';
}

TEST(Characters, AreCountedAndCutAsCodePointsNotBytes)
{
    for (const auto& c : test::casesOf("characters.txt")) {
        SCOPED_TRACE(c[0] + " at " + c[2]);
        EXPECT_EQ(characterCount(c[0]), std::stoul(c[1]));
        EXPECT_EQ(firstCharacters(c[0], std::stoul(c[2])), c[3]);
        EXPECT_EQ(lastCharacters(c[0], std::stoul(c[2])), c[4]);
    }
}

using StripBadCharsTest = test::AppDirTest;

TEST_F(StripBadCharsTest, ReplacesEachListedCharacterInTextsUpTo32767Characters)
{
    EXPECT_EQ(StripBadChars("Nightly Backup (1)!", "' ;@#!$%^&*()", ""), "NightlyBackup1");
    EXPECT_EQ(StripBadChars("a'b;c", "';", "<->"), "a<->b<->c");
    EXPECT_EQ(StripBadChars("aAa", "a", "x"), "xAx");
    EXPECT_EQ(StripBadChars(std::string(32767, 'a'), "a", "").size(), 0u);
    std::string umlauts; // 32767 characters in twice the bytes
    for (int i = 0; i < 32767; ++i)
        umlauts += "\xC3\xBC";
    EXPECT_EQ(StripBadChars(umlauts, "a", ""), umlauts);
    EXPECT_THROW(StripBadChars(std::string(32768, 'a'), "a", ""), test::FatalExitCalled);
    expectInErrorLog({"ERR#6 @ Quorvex - Overflow", "libStrings.bas/StripBadChars()."});
}

} // namespace
} // namespace quorvex

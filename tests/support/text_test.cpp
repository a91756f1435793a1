#include "support/date_text.hpp"
#include "support/error.hpp"
#include "support/numeric.hpp"
#include "support/strings.hpp"

#include "fakes/test_environment.hpp"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

namespace quorvex {
namespace {

using test::at;
using test::errorNumberOf;

TEST(Val, ReadsTheLeadingNumberAndStopsWhereItCannotContinue)
{
    // Plain numbers, blanks anywhere, no number at all, E and D exponents, then hexadecimal and
    // octal, which are signed 16-bit when they fit and 32-bit beyond.
    // clang-format off
    const std::pair<const char*, double> rows[] = {
        {"12abc", 12}, {"3.5.1", 3.5}, {"1,000", 1}, {"-1", -1}, {"+5", 5}, {".5", 0.5}, {"7.", 7},
        {"  1 2\t3\n4", 1234}, {" - 1", -1}, {"1 . 5", 1.5}, {"", 0}, {"abc", 0}, {"--5", 0},
        {"-", 0}, {".", 0}, {"\r5", 0}, {"1e3", 1000}, {"1D2", 100}, {"25E-1", 2.5}, {"2e", 2},
        {"2e+", 2}, {"1e-400", 0}, {"0.000e999999999", 0}, {"&H10", 16}, {"&h7fff", 32767},
        {"&HFFFF", -1}, {"&H8000", -32768}, {"&H10000", 65536}, {"&HFFFFFFFF", -1}, {"&O17", 15},
        {"&o178", 15}, {"&HG", 0}, {"&12", 0}};
    // clang-format on
    for (const auto& [text, value] : rows)
        EXPECT_EQ(Val(text), value) << '"' << text << '"';
}

TEST(RoundHalfEven, RoundsHalvesToTheEvenNeighbour)
{
    const std::pair<double, double> rows[] = {{2.5, 2},   {3.5, 4},    {0.5, 0},    {-2.5, -2},
                                              {-3.5, -4}, {2.4999, 2}, {2.5001, 3}, {-0.6, -1}};
    for (const auto& [value, rounded] : rows)
        EXPECT_EQ(roundHalfEven(value), rounded) << value;
}

TEST(IntegerConversion, AcceptsWhatRoundsIntoRangeAndOverflowsBeyondIt)
{
    EXPECT_EQ((std::vector<int64_t>{toInt16(32767.4), toInt16(32766.5), toInt16(-32768.5),
                                    toInt32(2147483647.0), toInt32(-2147483648.5)}),
              (std::vector<int64_t>{32767, 32766, -32768, 2147483647, -2147483648}));
    for (double value : {32767.5, -32769.0, std::nan("")})
        EXPECT_EQ(errorNumberOf([=] { toInt16(value); }), err::Overflow) << value;
    for (double value : {2147483647.5, std::numeric_limits<double>::infinity()})
        EXPECT_EQ(errorNumberOf([=] { toInt32(value); }), err::Overflow) << value;
    for (const char* text : {"1e400", "&H1FFFFFFFF"})
        EXPECT_EQ(errorNumberOf([=] { Val(text); }), err::Overflow) << text;
}

TEST(DateText, FormatsWithLeadingZerosAndEnglishMonths)
{
    EXPECT_EQ(formatDate(at(2026, 12, 5)), "Dec-05-2026");
    EXPECT_EQ(formatTime(at(2026, 12, 5, 7, 30, 59)), "07:30");
    const std::string general = formatGeneralDate(at(2026, 12, 5, 10, 0, 7));
    EXPECT_NE(general.find("2026"), std::string::npos) << general;
    EXPECT_NE(general.find("07"), std::string::npos) << general;
}

TEST(DateText, ParsesEveryDateItWritesBack)
{
    for (DateTime date = at(2026, 1, 1); date < at(2028, 1, 1); date = date.addDays(1))
        ASSERT_EQ(parseDate(formatDate(date)), date) << formatDate(date);
}

TEST(DateText, AcceptsEnglishMonthsInAnyCaseAndIsoDatesAndRejectsTheRestAsTypeMismatch)
{
    EXPECT_EQ(parseDate("DEC-5-2026"), at(2026, 12, 5));
    EXPECT_EQ(parseDate("sEp-30-2026"), at(2026, 9, 30));
    EXPECT_EQ(parseDate("2026-12-05"), at(2026, 12, 5));
    EXPECT_EQ(parseDate("2028-02-29"), at(2028, 2, 29));
    EXPECT_EQ(parseDate("  Dec-05-2026\t"), at(2026, 12, 5));
    for (const char* text :
         {"Feb-30-2026", "Feb-29-2027", "2026-13-01", "2026-00-10", "Dec-00-2026", "Xyz-05-2026",
          "Dec-05-26", "Dec-05-20260", "Dec-5", "Dec--5-2026", "12/05/2026", "Dec-05-2026x",
          "Dec 05 2026", "", "Null", "Dec-05-0099"})
        EXPECT_EQ(errorNumberOf([text] { parseDate(text); }), err::TypeMismatch) << text;
}

TEST(TimeText, AcceptsHoursWithOrWithoutZeroSecondsAndAmPmAndRejectsTheRestAsTypeMismatch)
{
    EXPECT_EQ(parseTime("7:30"), DateTime::fromTime(7, 30));
    EXPECT_EQ(parseTime("23:59:58"), DateTime::fromTime(23, 59, 58));
    EXPECT_EQ(parseTime("7:30 PM"), DateTime::fromTime(19, 30));
    EXPECT_EQ(parseTime("12:00 am"), DateTime::fromTime(0, 0));
    EXPECT_EQ(parseTime("12:15pM"), DateTime::fromTime(12, 15));
    EXPECT_EQ(parseTime("11:15:20 Am"), DateTime::fromTime(11, 15, 20));
    EXPECT_EQ(parseTime(formatTime(DateTime::fromTime(0, 0))), DateTime::fromTime(0, 0));
    for (const char* text : {"24:00", "7:60", "7:30:60", "13:00 PM", "7", "7:3", "7:300", "123:00",
                             ":30", "7:30:", "7:30 XM", "AM", "", "ab:cd", "-1:30"})
        EXPECT_EQ(errorNumberOf([text] { parseTime(text); }), err::TypeMismatch) << text;
}

// "Büro" is four characters in five bytes; a stray continuation byte counts as one character,
// and a cut never splits a character.
TEST(Characters, AreCountedAndCutAsCodePointsNotBytes)
{
    const std::string buero = "B\xC3\xBCro", euro = "\xE2\x82\xAC",
                      stray = "a\x80"
                              "b";
    // clang-format off
    const std::vector<std::tuple<std::string, size_t, size_t, std::string, std::string>> rows = {
        // text, characters, cut at, first characters, last characters
        {"", 0, 2, "", ""},
        {buero, 4, 2, "B\xC3\xBC", "ro"},
        {buero, 4, 3, "B\xC3\xBCr", "\xC3\xBCro"},
        {euro + euro + "x", 3, 1, euro, "x"},
        {euro + euro + "x", 3, 2, euro + euro, euro + "x"},
        {stray, 3, 2, "a\x80", "\x80" "b"},
        {buero, 4, 9, buero, buero},
    };
    // clang-format on
    for (const auto& [text, count, cut, first, last] : rows) {
        SCOPED_TRACE(text + " at " + std::to_string(cut));
        EXPECT_EQ(characterCount(text), count);
        EXPECT_EQ(firstCharacters(text, cut), first);
        EXPECT_EQ(lastCharacters(text, cut), last);
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

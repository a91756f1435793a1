#include "support/date_text.hpp"
#include "support/error.hpp"

#include "fakes/fixed_clock.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <locale.h>
#include <optional>
#include <string>

namespace quorvex {
namespace {

using test::at;

int32_t errorNumberOf(DateTime (*parse)(std::string_view), std::string_view text)
{
    try {
        parse(text);
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

TEST(DateText, FormatsTheFixedFormsWithLeadingZerosAndEnglishMonths)
{
    EXPECT_EQ(formatDate(at(2026, 12, 5)), "Dec-05-2026");
    EXPECT_EQ(formatDate(at(2027, 3, 15, 23, 59)), "Mar-15-2027");
    EXPECT_EQ(formatTime(at(2026, 12, 5, 7, 30, 59)), "07:30");
    EXPECT_EQ(formatTime(DateTime::fromTime(18, 5)), "18:05");
    EXPECT_EQ(formatLogStamp(at(2026, 1, 2, 3, 4, 5)), "01/02/2026 03:04:05");
}

TEST(DateText, TheGeneralDateShowsTheFullYearAndTheTime)
{
    const std::string text = formatGeneralDate(at(2026, 12, 5, 10, 0, 7));
    EXPECT_NE(text.find("2026"), std::string::npos) << text;
    EXPECT_NE(text.find("07"), std::string::npos) << text;
}

TEST(DateText, ParsesEveryDateItWritesBack)
{
    for (DateTime date = at(2026, 1, 1); date < at(2028, 1, 1); date = date.addDays(1))
        ASSERT_EQ(parseDate(formatDate(date)), date) << formatDate(date);
}

TEST(DateText, AcceptsEnglishMonthsInAnyCaseDaysWithoutZeroAndIsoDates)
{
    EXPECT_EQ(parseDate("DEC-5-2026"), at(2026, 12, 5));
    EXPECT_EQ(parseDate("MAR-5-2027"), at(2027, 3, 5));
    EXPECT_EQ(parseDate("sEp-30-2026"), at(2026, 9, 30));
    EXPECT_EQ(parseDate("2026-12-05"), at(2026, 12, 5));
    EXPECT_EQ(parseDate("2028-02-29"), at(2028, 2, 29));
    EXPECT_EQ(parseDate("  Dec-05-2026\t"), at(2026, 12, 5));
}

TEST(DateText, RejectsImpossibleAndUnknownDatesAsTypeMismatch)
{
    for (const char* text :
         {"Feb-30-2026", "Feb-29-2027", "2026-13-01", "2026-00-10", "Dec-00-2026", "Xyz-05-2026",
          "Dec-05-26", "Dec-05-20260", "Dec-5", "Dec--5-2026", "12/05/2026", "Dec-05-2026x",
          "Dec 05 2026", "", "Null", "Dec-05-0099"})
        EXPECT_EQ(errorNumberOf(&parseDate, text), err::TypeMismatch) << text;
}

// The user's locale's own month abbreviations; runs where a German locale is installed.
TEST(DateText, AcceptsTheUsersLocaleMonthAbbreviations)
{
    const locale_t german = newlocale(LC_TIME_MASK, "de_DE.UTF-8", locale_t{});
    if (!german)
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    freelocale(german);
    const char* saved = std::getenv("LC_ALL");
    const std::optional<std::string> before =
        saved ? std::optional<std::string>(saved) : std::nullopt;
    ::setenv("LC_ALL", "de_DE.UTF-8", 1);
    EXPECT_EQ(parseDate("Dez-05-2026"), at(2026, 12, 5));
    EXPECT_EQ(parseDate("OKT-5-2027"), at(2027, 10, 5));
    EXPECT_EQ(parseDate("Dec-05-2026"), at(2026, 12, 5));
    before ? ::setenv("LC_ALL", before->c_str(), 1) : ::unsetenv("LC_ALL");
}

TEST(TimeText, AcceptsHoursWithOrWithoutZeroSecondsAndAmPm)
{
    EXPECT_EQ(parseTime("7:30"), DateTime::fromTime(7, 30));
    EXPECT_EQ(parseTime("07:30"), DateTime::fromTime(7, 30));
    EXPECT_EQ(parseTime("23:59:58"), DateTime::fromTime(23, 59, 58));
    EXPECT_EQ(parseTime("7:30 PM"), DateTime::fromTime(19, 30));
    EXPECT_EQ(parseTime("12:00 am"), DateTime::fromTime(0, 0));
    EXPECT_EQ(parseTime("12:15pM"), DateTime::fromTime(12, 15));
    EXPECT_EQ(parseTime("11:15:20 Am"), DateTime::fromTime(11, 15, 20));
    EXPECT_EQ(parseTime(formatTime(DateTime::fromTime(0, 0))), DateTime::fromTime(0, 0));
}

TEST(TimeText, RejectsTimesOutOfRangeOrOfAnotherShapeAsTypeMismatch)
{
    for (const char* text : {"24:00", "7:60", "7:30:60", "13:00 PM", "7", "7:3", "7:300", "123:00",
                             ":30", "7:30:", "7:30 XM", "AM", "", "ab:cd", "-1:30"})
        EXPECT_EQ(errorNumberOf(&parseTime, text), err::TypeMismatch) << text;
}

} // namespace
} // namespace quorvex

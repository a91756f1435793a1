#include "jobs/database_job.hpp"

#include "fakes/fixed_clock.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace quorvex {
namespace {

using test::at;

const DateTime kNever = DateTime::fromDate(9999, 12, 31);

class NextRunTest : public ::testing::Test {
protected:
    void SetUp() override { setClock(&m_clock); }
    void TearDown() override { setClock(nullptr); }

    DateTime weekly(int16_t mask, int hour, int minute, DateTime now)
    {
        CDatabaseJob job;
        job.setFrequency(frequency::Weekly);
        job.setDayOfWeek(mask);
        job.setStartTime(DateTime::fromTime(hour, minute));
        m_clock.set(now);
        return job.DateNextRun();
    }

    DateTime monthly(int16_t day, DateTime startTime, DateTime now)
    {
        CDatabaseJob job;
        job.setFrequency(frequency::Monthly);
        job.setDayOfMonth(day);
        job.setStartTime(startTime);
        m_clock.set(now);
        return job.DateNextRun();
    }

    DateTime monthly(int16_t day, DateTime now)
    {
        return monthly(day, DateTime::fromTime(8, 30), now);
    }

    test::FixedClock m_clock;
};

constexpr int16_t kMonday = 4;
constexpr int16_t kEveryDay = 254;

TEST_F(NextRunTest, WeeklyJobOnItsDayRunsTodayUntilTheStartTimeThenNextWeek)
{
    EXPECT_EQ(weekly(kMonday, 9, 0, at(2027, 3, 1, 8, 0)), at(2027, 3, 1));
    EXPECT_EQ(weekly(kMonday, 9, 0, at(2027, 3, 1, 10, 0)), at(2027, 3, 8));
}

TEST_F(NextRunTest, DailyCutOffIsTheStartTimeToTheSecond)
{
    EXPECT_EQ(weekly(kEveryDay, 8, 30, at(2027, 3, 3, 8, 29, 59)), at(2027, 3, 3));
    EXPECT_EQ(weekly(kEveryDay, 8, 30, at(2027, 3, 3, 8, 30, 0)), at(2027, 3, 4));
    EXPECT_EQ(weekly(kEveryDay, 23, 59, at(2027, 3, 3, 23, 59, 30)), at(2027, 3, 4));
}

TEST_F(NextRunTest, WeekendJobReadOnWednesdayGivesTheComingSaturday)
{
    EXPECT_EQ(weekly(130, 9, 0, at(2027, 3, 3, 12, 0)), at(2027, 3, 6));
}

TEST_F(NextRunTest, WeeklySearchCrossesTheYearEnd)
{
    // 31 December 2026 is a Thursday; Sunday only.
    EXPECT_EQ(weekly(2, 0, 0, at(2026, 12, 31, 12, 0)), at(2027, 1, 3));
    // Thursday only, after the start time: a week later, in the new year.
    EXPECT_EQ(weekly(32, 6, 0, at(2026, 12, 31, 7, 0)), at(2027, 1, 7));
}

TEST_F(NextRunTest, MonthlyJobBeforeOnAndAfterItsDay)
{
    EXPECT_EQ(monthly(15, at(2027, 3, 10, 12, 0)), at(2027, 3, 15));
    EXPECT_EQ(monthly(15, at(2027, 3, 20, 1, 0)), at(2027, 4, 15));
    EXPECT_EQ(monthly(15, at(2027, 3, 15, 8, 29, 59)), at(2027, 3, 15));
    EXPECT_EQ(monthly(15, at(2027, 3, 15, 8, 30, 0)), at(2027, 4, 15));
}

TEST_F(NextRunTest, MonthlyJobMovesIntoTheNextYear)
{
    EXPECT_EQ(monthly(1, at(2026, 12, 31, 9, 0)), at(2027, 1, 1));
    EXPECT_EQ(monthly(31, at(2026, 12, 31, 9, 0)), at(2027, 1, 31));
}

TEST_F(NextRunTest, StartTimeWithSecondsMovesBothScheduleKindsAtTheSameMoment)
{
    // Read just after a due start: the next run must lie ahead, or the job would run twice.
    const DateTime start = DateTime::fromTime(8, 30, 30);
    EXPECT_EQ(monthly(15, start, at(2027, 3, 15, 8, 30, 29)), at(2027, 3, 15));
    EXPECT_EQ(monthly(15, start, at(2027, 3, 15, 8, 30, 31)), at(2027, 4, 15));
}

TEST_F(NextRunTest, ResultNeverCarriesATimeOfDay)
{
    const DateTime next = monthly(20, at(2027, 3, 10, 17, 45, 12));
    EXPECT_EQ(next.timePart(), DateTime());
    EXPECT_EQ(weekly(kEveryDay, 23, 0, at(2027, 3, 10, 17, 45, 12)).timePart(), DateTime());
}

TEST_F(NextRunTest, WeekdayMaskWithoutAnyDayHasNoNextRun)
{
    const DateTime now = at(2027, 3, 3, 12, 0);
    EXPECT_EQ(weekly(0, 9, 0, now), kNever);
    EXPECT_EQ(weekly(1, 9, 0, now), kNever); // the load default selects nothing
    EXPECT_EQ(weekly(256, 9, 0, now), kNever);
    CDatabaseJob daily;
    daily.setFrequency(frequency::Daily);
    daily.setDayOfWeek(1);
    EXPECT_EQ(daily.DateNextRun(), kNever);
}

TEST_F(NextRunTest, UnknownFrequencyHasNoNextRun)
{
    m_clock.set(2027, 3, 3, 12, 0);
    for (int32_t f : {0, 4, -1}) {
        CDatabaseJob job;
        job.setFrequency(f);
        job.setDayOfWeek(kEveryDay);
        job.setDayOfMonth(10);
        EXPECT_EQ(job.DateNextRun(), kNever) << f;
    }
}

TEST_F(NextRunTest, MonthlyDayBelowOneHasNoNextRun)
{
    EXPECT_EQ(monthly(0, at(2027, 3, 3, 12, 0)), kNever);
    EXPECT_EQ(monthly(-5, at(2027, 3, 3, 12, 0)), kNever);
}

TEST_F(NextRunTest, DayBeyondTheMonthsEndStandsForItsLastDay)
{
    EXPECT_EQ(monthly(31, at(2027, 2, 10, 12, 0)), at(2027, 2, 28));
    EXPECT_EQ(monthly(31, at(2027, 2, 28, 8, 0)), at(2027, 2, 28));
    EXPECT_EQ(monthly(31, at(2027, 2, 28, 9, 0)), at(2027, 3, 31));
    EXPECT_EQ(monthly(30, at(2028, 2, 29, 8, 0)), at(2028, 2, 29));
    EXPECT_EQ(monthly(31, at(2027, 4, 20, 12, 0)), at(2027, 4, 30));
    EXPECT_EQ(monthly(31, at(2027, 4, 30, 9, 0)), at(2027, 5, 31));
    EXPECT_EQ(monthly(31, at(2027, 1, 31, 9, 0)), at(2027, 2, 28));
    EXPECT_EQ(monthly(32000, at(2027, 6, 1, 9, 0)), at(2027, 6, 30));
}

TEST_F(NextRunTest, MonthlyJobSetToThe31stRunsOnEveryMonthsLastDayOnly)
{
    // A day is a run day when, read before the start time, the next run is that day; read
    // after it, the next run must lie ahead, or the job would run twice.
    std::vector<DateTime> runDays;
    for (DateTime day = at(2027, 1, 1); day < at(2028, 1, 1); day = day.addDays(1)) {
        if (monthly(31, day + DateTime::fromTime(8, 29)) == day)
            runDays.push_back(day);
        EXPECT_GT(monthly(31, day + DateTime::fromTime(8, 30)), day);
    }
    ASSERT_EQ(runDays.size(), 12u);
    for (const DateTime& day : runDays)
        EXPECT_EQ(day.day(), DateTime::daysInMonth(day.year(), day.month()));
}

} // namespace
} // namespace quorvex

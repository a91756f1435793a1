#include "jobs/database_job.hpp"

#include "fakes/fixed_clock.hpp"
#include "support/date_text.hpp"

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

    // A job with the schedule given, read at the moment given. The days stand for the weekday
    // mask and the day of the month alike; the frequency picks one.
    CDatabaseJob scheduled(int32_t freq, int16_t days, DateTime startTime, DateTime now)
    {
        CDatabaseJob job;
        job.setFrequency(freq);
        job.setDayOfWeek(days);
        job.setDayOfMonth(days);
        job.setStartTime(startTime);
        m_clock.set(now);
        return job;
    }
    DateTime nextRun(int32_t freq, int16_t days, DateTime startTime, DateTime now)
    {
        return scheduled(freq, days, startTime, now).DateNextRun();
    }

    test::FixedClock m_clock;
};

constexpr int32_t kDaily = frequency::Daily;
constexpr int32_t kWeekly = frequency::Weekly;
constexpr int32_t kMonthly = frequency::Monthly;
constexpr int16_t kEveryDay = 254;

DateTime t(int hour, int minute, int second = 0)
{
    return DateTime::fromTime(hour, minute, second);
}

TEST_F(NextRunTest, NextRunOfEverySchedule)
{
    struct Row {
        int32_t freq;
        int16_t days;
        DateTime start, now, expected;
    };
    const std::vector<Row> rows = {
        // On its day a job runs today until the start time, to the second, then on its next day.
        {kWeekly, kEveryDay, t(8, 30), at(2027, 3, 3, 8, 29, 59), at(2027, 3, 3)},
        {kWeekly, kEveryDay, t(8, 30), at(2027, 3, 3, 8, 30, 0), at(2027, 3, 4)},
        {kWeekly, 130, t(9, 0), at(2027, 3, 3, 12, 0), at(2027, 3, 6)},
        // Into the new year: 31 December 2026 is a Thursday; Sunday only, Thursday only.
        {kWeekly, 2, t(0, 0), at(2026, 12, 31, 12, 0), at(2027, 1, 3)},
        {kWeekly, 32, t(6, 0), at(2026, 12, 31, 7, 0), at(2027, 1, 7)},
        // A monthly job before, on and after its day, with the same cut-off.
        {kMonthly, 15, t(8, 30), at(2027, 3, 10, 12, 0), at(2027, 3, 15)},
        {kMonthly, 15, t(8, 30), at(2027, 3, 20, 1, 0), at(2027, 4, 15)},
        {kMonthly, 15, t(8, 30), at(2027, 3, 15, 8, 29, 59), at(2027, 3, 15)},
        {kMonthly, 15, t(8, 30), at(2027, 3, 15, 8, 30, 0), at(2027, 4, 15)},
        {kMonthly, 15, t(8, 30, 30), at(2027, 3, 15, 8, 30, 29), at(2027, 3, 15)},
        {kMonthly, 15, t(8, 30, 30), at(2027, 3, 15, 8, 30, 31), at(2027, 4, 15)},
        {kMonthly, 1, t(8, 30), at(2026, 12, 31, 9, 0), at(2027, 1, 1)},
        {kMonthly, 31, t(8, 30), at(2026, 12, 31, 9, 0), at(2027, 1, 31)},
        // A day beyond the month's end stands for its last day (every month's: see below).
        {kMonthly, 31, t(8, 30), at(2027, 2, 10, 12, 0), at(2027, 2, 28)},
        {kMonthly, 31, t(8, 30), at(2027, 2, 28, 9, 0), at(2027, 3, 31)},
        {kMonthly, 30, t(8, 30), at(2028, 2, 29, 8, 0), at(2028, 2, 29)},
        {kMonthly, 32000, t(8, 30), at(2027, 6, 1, 9, 0), at(2027, 6, 30)},
        // Schedules that select no day never come due; 1 is the load default.
        {kWeekly, 1, t(9, 0), at(2027, 3, 3, 12, 0), kNever},
        {kWeekly, 256, t(9, 0), at(2027, 3, 3, 12, 0), kNever},
        {kDaily, 1, t(9, 0), at(2027, 3, 3, 12, 0), kNever},
        {kMonthly, 0, t(9, 0), at(2027, 3, 3, 12, 0), kNever},
        {kMonthly, -5, t(9, 0), at(2027, 3, 3, 12, 0), kNever},
        // Nor does an unknown frequency, whatever its days.
        {0, 10, t(9, 0), at(2027, 3, 3, 12, 0), kNever},
        {4, 10, t(9, 0), at(2027, 3, 3, 12, 0), kNever},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.freq) + " " + std::to_string(r.days) + " at " +
                     formatGeneralDate(r.now));
        EXPECT_EQ(nextRun(r.freq, r.days, r.start, r.now), r.expected);
    }
}

TEST_F(NextRunTest, MonthlyJobSetToThe31stRunsOnEveryMonthsLastDayOnly)
{
    // A day is a run day when, read before the start time, the next run is that day; read
    // after it, the next run must lie ahead, or the job would run twice.
    std::vector<DateTime> runDays;
    for (DateTime day = at(2027, 1, 1); day < at(2028, 1, 1); day = day.addDays(1)) {
        if (nextRun(kMonthly, 31, t(8, 30), day + t(8, 29)) == day)
            runDays.push_back(day);
        EXPECT_GT(nextRun(kMonthly, 31, t(8, 30), day + t(8, 30)), day);
    }
    ASSERT_EQ(runDays.size(), 12u);
    for (const DateTime& day : runDays)
        EXPECT_EQ(day.day(), DateTime::daysInMonth(day.year(), day.month()));
}

// Saturday 5 December 2026 at 09:00; the runs in between did not happen.
TEST_F(NextRunTest, MissedRunIsTheLatestScheduledMomentAfterTheDayOfTheLastRun)
{
    const DateTime never = DateTime::fromDate(1899, 12, 30);
    const struct {
        int32_t freq;
        int16_t days;
        DateTime startTime, lastRun, missed; // "never" for none
    } cases[] = {
        {kDaily, 254, t(3, 0), at(2026, 12, 3), at(2026, 12, 5, 3, 0)},
        {kDaily, 254, t(3, 0), at(2026, 12, 5), never}, // ran today
        {kDaily, 254, t(10, 0), at(2026, 12, 3), at(2026, 12, 4, 10, 0)},
        {kDaily, 254, t(10, 0), at(2026, 12, 4), never}, // today's is ahead
        {kWeekly, 64, t(22, 15), at(2026, 11, 27), at(2026, 12, 4, 22, 15)},
        {kMonthly, 31, t(3, 0), at(2026, 10, 31), at(2026, 11, 30, 3, 0)},
        {kMonthly, 31, t(3, 0), at(2026, 11, 30), never},
        {kWeekly, 0, t(3, 0), at(2026, 1, 1), never}, // selects no day
    };
    for (const auto& c : cases) {
        CDatabaseJob job = scheduled(c.freq, c.days, c.startTime, at(2026, 12, 5, 9, 0));
        job.setDateLastRun(c.lastRun);
        EXPECT_EQ(job.MissedRun().value_or(never), c.missed) << (&c - cases);
    }
}

TEST(DueMomentTest, IgnoresTheSecondsOfTheStartTime)
{
    EXPECT_EQ(dueMoment(at(2026, 12, 5), t(10, 30, 45)), at(2026, 12, 5, 10, 30));
}

} // namespace
} // namespace quorvex

#include "jobs/database_job.hpp"

#include "fakes/case_table.hpp"
#include "fakes/fixed_clock.hpp"
#include "support/date_text.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvex {
namespace {

using test::at;

// A day written as 2027-03-03, with the time after a blank when it has one.
DateTime moment(const std::string& text)
{
    const auto blank = text.find(' ');
    return blank == std::string::npos
               ? parseDate(text)
               : parseDate(text.substr(0, blank)) + parseTime(text.substr(blank + 1));
}

class NextRunTest : public ::testing::Test {
protected:
    void SetUp() override { setClock(&m_clock); }
    void TearDown() override { setClock(nullptr); }

    // A job with the schedule of a table's case, read at the moment given. The days stand for
    // the weekday mask and the day of the month alike; the frequency picks one.
    CDatabaseJob scheduled(const test::CaseFields& c, DateTime now)
    {
        CDatabaseJob job;
        job.setFrequency(std::stoi(c[0]));
        job.setDayOfWeek(static_cast<int16_t>(std::stoi(c[1])));
        job.setDayOfMonth(static_cast<int16_t>(std::stoi(c[1])));
        job.setStartTime(parseTime(c[2]));
        m_clock.set(now);
        return job;
    }

    test::FixedClock m_clock;
};

TEST_F(NextRunTest, NextRunOfEverySchedule)
{
    for (const auto& c : test::readCaseTable(QUORVEX_TEST_DATA_DIR "/next_run.txt"))
        EXPECT_EQ(scheduled(c, moment(c[3])).DateNextRun(), moment(c[4]))
            << c[0] << " | " << c[1] << " | " << c[2] << " | " << c[3];
}

TEST_F(NextRunTest, MonthlyJobSetToThe31stRunsOnEveryMonthsLastDayOnly)
{
    // A day is a run day when, read before the start time, the next run is that day; read
    // after it, the next run must lie ahead, or the job would run twice.
    std::vector<DateTime> runDays;
    for (DateTime day = at(2027, 1, 1); day < at(2028, 1, 1); day = day.addDays(1)) {
        if (scheduled({"3", "31", "8:30"}, day + DateTime::fromTime(8, 29)).DateNextRun() == day)
            runDays.push_back(day);
        EXPECT_GT(scheduled({"3", "31", "8:30"}, day + DateTime::fromTime(8, 30)).DateNextRun(),
                  day);
    }
    ASSERT_EQ(runDays.size(), 12u);
    for (const DateTime& day : runDays)
        EXPECT_EQ(day.day(), DateTime::daysInMonth(day.year(), day.month()));
}

// The runs between the last one and now did not happen.
TEST_F(NextRunTest, MissedRunIsTheLatestScheduledMomentAfterTheDayOfTheLastRun)
{
    for (const auto& c : test::readCaseTable(QUORVEX_TEST_DATA_DIR "/missed_run.txt")) {
        CDatabaseJob job = scheduled(c, at(2026, 12, 5, 9, 0));
        job.setDateLastRun(moment(c[3]));
        const DateTime none = DateTime::fromDate(1899, 12, 30);
        EXPECT_EQ(job.MissedRun().value_or(none), c[4] == "none" ? none : moment(c[4]))
            << c[0] << " | " << c[1] << " | " << c[2] << " | " << c[3];
    }
}

} // namespace
} // namespace quorvex

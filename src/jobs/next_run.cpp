#include "jobs/database_job.hpp"

#include "support/clock.hpp"
#include "support/date_text.hpp"
#include "support/error_handler.hpp"

#include <algorithm>
#include <string>
#include <string_view>

namespace quorvex {

namespace {

constexpr std::string_view kMonthTable = "JAN|FEB|MAR|APR|MAY|JUN|JUL|AUG|SEP|OCT|NOV|DEC|";

// A schedule that selects no day never comes due. Giving today instead would make the job
// due again at every check.
DateTime noNextRun()
{
    return DateTime::fromDate(9999, 12, 31);
}

// Weekday w (Sunday = 1 ... Saturday = 7) is selected by bit 2^w.
bool selectsWeekday(int mask, int weekday)
{
    return (mask & (1 << weekday)) != 0;
}

bool selectsAnyWeekday(int mask)
{
    return (mask & 0xFE) != 0;
}

// The one cut-off of both schedule kinds: from the start time on, today's run counts as
// taken, so the result moves on at that very moment for daily and monthly jobs alike.
bool startTimeReached(DateTime now, DateTime startTime)
{
    return now >= now.datePart() + startTime;
}

DateTime nextWeekdayRun(DateTime now, DateTime startTime, int mask)
{
    if (!selectsAnyWeekday(mask))
        return noNextRun();
    DateTime candidate = now.datePart();
    if (startTimeReached(now, startTime))
        candidate = candidate.addDays(1);
    while (!selectsWeekday(mask, candidate.weekday()))
        candidate = candidate.addDays(1);
    return candidate;
}

// A day beyond the month's end stands for its last day, so a job set to the 31st runs on
// every month's last day, exactly once.
int dayInMonth(int dayOfMonth, int year, int month)
{
    return std::min(dayOfMonth, DateTime::daysInMonth(year, month));
}

DateTime nextMonthlyRun(DateTime now, DateTime startTime, int dayOfMonth)
{
    if (dayOfMonth < 1)
        return noNextRun();
    int year = now.year();
    int month = now.month();
    const int thisMonthsDay = dayInMonth(dayOfMonth, year, month);
    if (thisMonthsDay < now.day() ||
        (thisMonthsDay == now.day() && startTimeReached(now, startTime))) {
        if (++month == 13) {
            month = 1;
            ++year;
        }
    }
    const std::string text = std::string(kMonthTable.substr((month - 1) * 4, 3)) + "-" +
                             std::to_string(dayInMonth(dayOfMonth, year, month)) + "-" +
                             std::to_string(year);
    return parseDate(text);
}

// Scheduled moments repeat within a week, or within two months for the 31st.
constexpr int kLongestGapInDays = 62;

bool selectsDay(int32_t frequency, int dayOfWeek, int dayOfMonth, DateTime day)
{
    switch (frequency) {
    case frequency::Daily:
    case frequency::Weekly:
        return selectsWeekday(dayOfWeek, day.weekday());
    case frequency::Monthly:
        return dayOfMonth >= 1 && day.day() == dayInMonth(dayOfMonth, day.year(), day.month());
    default:
        return false;
    }
}

} // namespace

std::optional<DateTime> CDatabaseJob::MissedRun() const
{
    return trapFatal("CDatabaseJob.cls", "MissedRun()", [&]() -> std::optional<DateTime> {
        const DateTime now = Now();
        for (int back = 0; back <= kLongestGapInDays; ++back) {
            const DateTime day = now.datePart().addDays(-back);
            if (day <= m_dateLastRun.datePart())
                return std::nullopt;
            const DateTime moment = dueMoment(day, m_startTime);
            if (moment <= now && selectsDay(m_frequency, m_dayOfWeek, m_dayOfMonth, day))
                return moment;
        }
        return std::nullopt;
    });
}

DateTime dueMoment(DateTime nextRun, DateTime startTime)
{
    return nextRun.datePart() + DateTime::fromTime(startTime.hour(), startTime.minute());
}

DateTime CDatabaseJob::DateNextRun() const
{
    return trapFatal("CDatabaseJob.cls", "DateNextRun()", [&] {
        // One reading of the clock, so both cut-offs see the same moment.
        const DateTime now = Now();
        switch (m_frequency) {
        case frequency::Daily:
        case frequency::Weekly:
            return nextWeekdayRun(now, m_startTime, m_dayOfWeek);
        case frequency::Monthly:
            return nextMonthlyRun(now, m_startTime, m_dayOfMonth);
        default:
            return noNextRun();
        }
    });
}

} // namespace quorvex

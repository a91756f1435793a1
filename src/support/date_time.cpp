#include "support/date_time.hpp"

#include "support/error.hpp"

#include <chrono>

namespace quorvex {

namespace {

namespace ch = std::chrono;

constexpr ch::sys_days kEpoch = ch::sys_days{ch::year{1899} / ch::December / 30};

ch::year_month_day civil(int64_t serialDays)
{
    return ch::year_month_day{kEpoch + ch::days{serialDays}};
}

int64_t floorDiv(int64_t a, int64_t b)
{
    const int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

} // namespace

bool DateTime::isValidDate(int y, int m, int d)
{
    if (m < 1 || m > 12 || d < 1)
        return false;
    return ch::year_month_day{ch::year{y}, ch::month{static_cast<unsigned>(m)},
                              ch::day{static_cast<unsigned>(d)}}
        .ok();
}

int DateTime::daysInMonth(int y, int m)
{
    const ch::year_month_day_last last{ch::year{y} / ch::month{static_cast<unsigned>(m)} /
                                       ch::last};
    return static_cast<int>(static_cast<unsigned>(last.day()));
}

DateTime DateTime::fromDate(int y, int m, int d)
{
    if (!isValidDate(y, m, d))
        throw RuntimeError::fromNumber(err::InvalidCall);
    const ch::sys_days date{ch::year{y} / ch::month{static_cast<unsigned>(m)} /
                            ch::day{static_cast<unsigned>(d)}};
    return DateTime((date - kEpoch).count() * kSecondsPerDay);
}

int64_t DateTime::serialDays() const
{
    return floorDiv(m_seconds, kSecondsPerDay);
}

DateTime DateTime::datePart() const
{
    return DateTime(serialDays() * kSecondsPerDay);
}

DateTime DateTime::timePart() const
{
    return DateTime(m_seconds - serialDays() * kSecondsPerDay);
}

int DateTime::year() const
{
    return static_cast<int>(civil(serialDays()).year());
}

int DateTime::month() const
{
    return static_cast<int>(static_cast<unsigned>(civil(serialDays()).month()));
}

int DateTime::day() const
{
    return static_cast<int>(static_cast<unsigned>(civil(serialDays()).day()));
}

int DateTime::weekday() const
{
    const ch::weekday wd{kEpoch + ch::days{serialDays()}};
    return static_cast<int>(wd.c_encoding()) + 1;
}

int DateTime::hour() const
{
    return static_cast<int>(timePart().m_seconds / 3600);
}

int DateTime::minute() const
{
    return static_cast<int>(timePart().m_seconds / 60 % 60);
}

int DateTime::second() const
{
    return static_cast<int>(timePart().m_seconds % 60);
}

} // namespace quorvex

#include "fakes/fixed_clock.hpp"

namespace quorvex::test {

DateTime at(int year, int month, int day, int hour, int minute, int second)
{
    return DateTime::fromDate(year, month, day) + DateTime::fromTime(hour, minute, second);
}

void FixedClock::set(int year, int month, int day, int hour, int minute, int second)
{
    m_now = at(year, month, day, hour, minute, second);
}

} // namespace quorvex::test

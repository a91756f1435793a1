#include "support/clock.hpp"

#include "platform/user_locale.hpp"

#include <ctime>

namespace quorvex {

DateTime SystemClock::now() const
{
    const std::tm local = localTime(std::time(nullptr));
    return DateTime::fromDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           DateTime::fromTime(local.tm_hour, local.tm_min, local.tm_sec);
}

namespace {
SystemClock g_systemClock;
Clock* g_clock = &g_systemClock;
} // namespace

Clock* setClock(Clock* c)
{
    Clock* const before = g_clock;
    g_clock = c ? c : &g_systemClock;
    return before;
}

DateTime Now()
{
    return g_clock->now();
}

DateTime Today()
{
    return Now().datePart();
}

} // namespace quorvex

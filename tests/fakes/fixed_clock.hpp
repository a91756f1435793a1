#pragma once

#include "support/clock.hpp"

namespace quorvex::test {

// Convenience for tests: a moment from its parts.
inline DateTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return DateTime::fromDate(year, month, day) + DateTime::fromTime(hour, minute, second);
}

// A clock that stands still until told to move.
class FixedClock final : public Clock {
public:
    explicit FixedClock(DateTime now = {}) : m_now(now) {}
    DateTime now() const override { return m_now; }
    void set(DateTime now) { m_now = now; }
    void set(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
    {
        m_now = at(year, month, day, hour, minute, second);
    }
    void advanceSeconds(int64_t seconds) { m_now = m_now.addSeconds(seconds); }

private:
    DateTime m_now;
};

} // namespace quorvex::test

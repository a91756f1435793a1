#pragma once

#include "support/clock.hpp"

namespace quorvex::test {

// A clock that stands still until told to move.
class FixedClock final : public Clock {
public:
    explicit FixedClock(DateTime now = {}) : m_now(now) {}
    DateTime now() const override { return m_now; }
    void set(DateTime now) { m_now = now; }
    void set(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
    void advanceSeconds(int64_t seconds) { m_now = m_now.addSeconds(seconds); }
    void advanceDays(int64_t days) { m_now = m_now.addDays(days); }

private:
    DateTime m_now;
};

// Convenience for tests: a moment from its parts.
DateTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

} // namespace quorvex::test

#pragma once

#include <compare>
#include <cstdint>

namespace quorvex {

// A local date and time counted as the classic date type counts it: from 30 December 1899,
// 00:00. Kept as whole seconds, so dates compare exactly and a date part is always 00:00.
class DateTime {
public:
    static constexpr int64_t kSecondsPerDay = 86400;

    constexpr DateTime() = default;

    static constexpr DateTime fromSerialSeconds(int64_t seconds) { return DateTime(seconds); }
    // Throws RuntimeError 5 when the date does not exist (month 13, 31 April...).
    static DateTime fromDate(int year, int month, int day);
    static constexpr DateTime fromTime(int hour, int minute, int second = 0)
    {
        return DateTime((int64_t{hour} * 60 + minute) * 60 + second);
    }
    static bool isValidDate(int year, int month, int day);
    static int daysInMonth(int year, int month);

    constexpr int64_t serialSeconds() const { return m_seconds; }
    // Whole days since 30 December 1899 (negative before it).
    int64_t serialDays() const;

    DateTime datePart() const;
    DateTime timePart() const;
    DateTime addDays(int64_t days) const { return DateTime(m_seconds + days * kSecondsPerDay); }
    DateTime addSeconds(int64_t seconds) const { return DateTime(m_seconds + seconds); }

    int year() const;
    int month() const;
    int day() const;
    // 1 = Sunday ... 7 = Saturday.
    int weekday() const;
    int hour() const;
    int minute() const;
    int second() const;

    // Date plus time of day, as the classic date arithmetic adds them.
    friend constexpr DateTime operator+(DateTime a, DateTime b)
    {
        return DateTime(a.m_seconds + b.m_seconds);
    }
    friend constexpr auto operator<=>(DateTime, DateTime) = default;

private:
    constexpr explicit DateTime(int64_t seconds) : m_seconds(seconds) {}
    int64_t m_seconds = 0;
};

} // namespace quorvex

#pragma once

#include "support/date_time.hpp"

namespace quorvex {

// The present local date and time. Every "now" and "today" of the program asks the
// installed clock, so tests can hold time still.
class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime now() const = 0;
};

// Reads the system's local time.
class SystemClock final : public Clock {
public:
    DateTime now() const override;
};

// Installs the clock every "now" asks; the system clock until another is installed. The caller
// keeps ownership of what it installs; nullptr restores the system clock. Returns the clock
// installed before, so a caller may put it back.
Clock* setClock(Clock* clock);

DateTime Now();
// Today at 00:00.
DateTime Today();

} // namespace quorvex

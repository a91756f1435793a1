#pragma once

#include <array>
#include <ctime>
#include <optional>
#include <string>

namespace quorvex {

// The moment the system clock shows, in the user's time zone.
std::tm localTime(std::time_t moment);

// The user's abbreviated month names, January first; all empty when the locale cannot say.
std::array<std::string, 12> userAbbreviatedMonthNames();
// One of them, the month counted from 1; empty when the locale cannot say.
std::string userAbbreviatedMonthName(int month);

// The moment in the user's own short date and time, but always with the full year: a two-digit
// year is ambiguous in a log that may be read decades later. Nothing when the locale cannot say.
std::optional<std::string> formatUserDateTime(const std::tm& moment);

} // namespace quorvex

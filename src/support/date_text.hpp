#pragma once

#include "support/date_time.hpp"

#include <string>
#include <string_view>

namespace quorvex {

// "mmm-dd-yyyy" with English month abbreviations (Dec-05-2026), whatever the locale, so a
// stored job never becomes unreadable when the locale changes.
std::string formatDate(DateTime date);
// "hh:mm" on the 24-hour clock.
std::string formatTime(DateTime time);
// "mm/dd/yyyy hh:mm:ss", the transaction log's stamp.
std::string formatLogStamp(DateTime moment);
// The platform's print form of a date value (the error log's "Date:" line).
std::string formatGeneralDate(DateTime moment);

// Accepts what formatDate writes, the upper-case English form (DEC-5-2026), English month
// abbreviations in any letter case, the user's locale's abbreviations and ISO yyyy-mm-dd.
// Anything else is run-time error 13 (Type mismatch).
DateTime parseDate(std::string_view text);
// Accepts "h:mm", "hh:mm", "hh:mm:ss", each with an optional AM/PM; else run-time error 13.
DateTime parseTime(std::string_view text);

} // namespace quorvex

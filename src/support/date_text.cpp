#include "support/date_text.hpp"

#include "platform/user_locale.hpp"
#include "support/error.hpp"
#include "support/strings.hpp"

#include <array>
#include <cstdio>
#include <ctime>
#include <optional>

namespace quorvex {

namespace {

constexpr std::array<std::string_view, 12> kEnglishMonths = {
    "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

[[noreturn]] void throwTypeMismatch()
{
    throw RuntimeError::fromNumber(err::TypeMismatch);
}

template <class... Args> std::string printed(const char* pattern, Args... args)
{
    char buffer[64];
    const int n = std::snprintf(buffer, sizeof buffer, pattern, args...);
    return std::string(buffer, static_cast<size_t>(n));
}

std::tm toTm(DateTime moment)
{
    std::tm tm{};
    tm.tm_year = moment.year() - 1900;
    tm.tm_mon = moment.month() - 1;
    tm.tm_mday = moment.day();
    tm.tm_hour = moment.hour();
    tm.tm_min = moment.minute();
    tm.tm_sec = moment.second();
    tm.tm_wday = moment.weekday() - 1;
    return tm;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads 1 to maxDigits digits from the front of text; nothing when there is no digit.
std::optional<int> takeNumber(std::string_view& text, size_t maxDigits)
{
    size_t n = 0;
    int value = 0;
    while (n < text.size() && n < maxDigits && isDigit(text[n]))
        value = value * 10 + (text[n++] - '0');
    if (n == 0)
        return std::nullopt;
    text.remove_prefix(n);
    return value;
}

// Exactly `digits` digits from the front of text.
std::optional<int> takeFixedNumber(std::string_view& text, size_t digits)
{
    std::string_view probe = text;
    const auto value = takeNumber(probe, digits);
    if (!value || text.size() - probe.size() != digits)
        return std::nullopt;
    text = probe;
    return value;
}

bool takeChar(std::string_view& text, char c)
{
    if (text.empty() || text[0] != c)
        return false;
    text.remove_prefix(1);
    return true;
}

// A locale's abbreviation such as "déc." also matches without its final dot.
bool matchesLocaleName(std::string_view name, std::string_view abbreviation)
{
    if (abbreviation.empty())
        return false;
    if (equalsNoCase(name, abbreviation))
        return true;
    return abbreviation.back() == '.' &&
           equalsNoCase(name, abbreviation.substr(0, abbreviation.size() - 1));
}

std::optional<int> localeMonth(std::string_view name)
{
    const std::array<std::string, 12> names = userAbbreviatedMonthNames();
    for (size_t i = 0; i < names.size(); ++i) {
        if (matchesLocaleName(name, names[i]))
            return static_cast<int>(i) + 1;
    }
    return std::nullopt;
}

std::optional<int> monthFromName(std::string_view name)
{
    for (size_t i = 0; i < kEnglishMonths.size(); ++i)
        if (equalsNoCase(name, kEnglishMonths[i]))
            return static_cast<int>(i) + 1;
    return localeMonth(name);
}

// The classic date type spans the years 100 to 9999.
DateTime validDate(std::optional<int> year, std::optional<int> month, std::optional<int> day)
{
    if (!year || !month || !day || *year < 100 || !DateTime::isValidDate(*year, *month, *day))
        throwTypeMismatch();
    return DateTime::fromDate(*year, *month, *day);
}

// "Dec-05-2026", "DEC-5-2026", a locale's "Dez-05-2026".
std::optional<DateTime> parseNamedMonthDate(std::string_view text)
{
    const size_t dash = text.find('-');
    if (dash == std::string_view::npos || dash == 0)
        return std::nullopt;
    const auto month = monthFromName(text.substr(0, dash));
    if (!month)
        return std::nullopt;
    text.remove_prefix(dash + 1);
    const auto day = takeNumber(text, 2);
    const bool dashed = takeChar(text, '-');
    const auto year = takeFixedNumber(text, 4);
    if (!dashed || !text.empty())
        throwTypeMismatch();
    return validDate(year, month, day);
}

// "2026-12-05".
std::optional<DateTime> parseIsoDate(std::string_view text)
{
    const auto year = takeFixedNumber(text, 4);
    if (!year || !takeChar(text, '-'))
        return std::nullopt;
    const auto month = takeNumber(text, 2);
    const bool dashed = takeChar(text, '-');
    const auto day = takeNumber(text, 2);
    if (!dashed || !text.empty())
        throwTypeMismatch();
    return validDate(year, month, day);
}

// Takes a trailing "AM"/"PM" (any case, blank before it optional) off text.
std::optional<bool> takeMeridiem(std::string_view& text)
{
    if (text.size() < 2)
        return std::nullopt;
    const std::string_view tail = text.substr(text.size() - 2);
    const bool am = equalsNoCase(tail, "AM");
    if (!am && !equalsNoCase(tail, "PM"))
        return std::nullopt;
    text = trimBlanksAndTabs(text.substr(0, text.size() - 2));
    return !am;
}

int hourOfDay(int hour, std::optional<bool> pm)
{
    if (!pm)
        return hour <= 23 ? hour : -1;
    if (hour > 12)
        return -1;
    return (hour % 12) + (*pm ? 12 : 0);
}

} // namespace

std::string formatDate(DateTime date)
{
    return printed("%s-%02d-%04d", kEnglishMonths[static_cast<size_t>(date.month() - 1)].data(),
                   date.day(), date.year());
}

std::string formatTime(DateTime time)
{
    return printed("%02d:%02d", time.hour(), time.minute());
}

std::string formatLogStamp(DateTime moment)
{
    return printed("%02d/%02d/%04d %02d:%02d:%02d", moment.month(), moment.day(), moment.year(),
                   moment.hour(), moment.minute(), moment.second());
}

std::string formatGeneralDate(DateTime moment)
{
    // The user's own order and separators, always with the full year.
    return formatUserDateTime(toTm(moment)).value_or(formatLogStamp(moment));
}

DateTime parseDate(std::string_view text)
{
    const std::string_view trimmed = trimBlanksAndTabs(text);
    if (const auto date = parseIsoDate(trimmed))
        return *date;
    if (const auto date = parseNamedMonthDate(trimmed))
        return *date;
    throwTypeMismatch();
}

DateTime parseTime(std::string_view text)
{
    std::string_view rest = trimBlanksAndTabs(text);
    const std::optional<bool> pm = takeMeridiem(rest);
    const auto hour = takeNumber(rest, 2);
    const bool colon = takeChar(rest, ':');
    const auto minute = takeFixedNumber(rest, 2);
    std::optional<int> second = 0;
    if (takeChar(rest, ':'))
        second = takeFixedNumber(rest, 2);
    if (!hour || !colon || !minute || !second || !rest.empty())
        throwTypeMismatch();
    const int h = hourOfDay(*hour, pm);
    if (h < 0 || *minute > 59 || *second > 59)
        throwTypeMismatch();
    return DateTime::fromTime(h, *minute, *second);
}

} // namespace quorvex

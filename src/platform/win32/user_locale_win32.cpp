#include "platform/user_locale.hpp"

#include <windows.h>

namespace quorvex {

namespace {

std::string localeText(LCTYPE item)
{
    char text[128] = {};
    const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, item, text, sizeof text);
    return length > 1 ? std::string(text, static_cast<size_t>(length - 1)) : std::string();
}

} // namespace

std::tm localTime(std::time_t moment)
{
    std::tm local{};
    localtime_s(&local, &moment);
    return local;
}

std::string userAbbreviatedMonthName(int month)
{
    return localeText(static_cast<LCTYPE>(LOCALE_SABBREVMONTHNAME1 + month - 1));
}

std::optional<std::string> formatUserDateTime(const std::tm& moment)
{
    // The short date pattern with every year written in full: "yy" becomes "yyyy".
    const std::string shortDate = localeText(LOCALE_SSHORTDATE);
    if (shortDate.empty())
        return std::nullopt;
    std::string pattern;
    for (size_t at = 0; at < shortDate.size();) {
        if (shortDate[at] != 'y') {
            pattern += shortDate[at++];
            continue;
        }
        const size_t run = shortDate.find_first_not_of('y', at);
        pattern += "yyyy";
        at = run == std::string::npos ? shortDate.size() : run;
    }
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(moment.tm_year + 1900);
    time.wMonth = static_cast<WORD>(moment.tm_mon + 1);
    time.wDay = static_cast<WORD>(moment.tm_mday);
    time.wHour = static_cast<WORD>(moment.tm_hour);
    time.wMinute = static_cast<WORD>(moment.tm_min);
    time.wSecond = static_cast<WORD>(moment.tm_sec);
    char date[128] = {};
    char clock[128] = {};
    if (GetDateFormatA(LOCALE_USER_DEFAULT, 0, &time, pattern.c_str(), date, sizeof date) == 0 ||
        GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &time, nullptr, clock, sizeof clock) == 0)
        return std::nullopt;
    return std::string(date) + " " + clock;
}

} // namespace quorvex

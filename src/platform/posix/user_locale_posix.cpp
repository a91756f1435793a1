#include "platform/user_locale.hpp"

#include <langinfo.h>
#include <locale.h>

namespace quorvex {

namespace {

// The user's LC_TIME locale, freed with the holder. The C locale stands in when the
// environment names a locale that is not installed; null only when memory runs out.
class UserTimeLocale {
public:
    UserTimeLocale() : m_locale(newlocale(LC_TIME_MASK, "", locale_t{}))
    {
        if (!m_locale)
            m_locale = newlocale(LC_TIME_MASK, "C", locale_t{});
    }
    ~UserTimeLocale()
    {
        if (m_locale)
            freelocale(m_locale);
    }
    UserTimeLocale(const UserTimeLocale&) = delete;
    UserTimeLocale& operator=(const UserTimeLocale&) = delete;

    locale_t get() const { return m_locale; }

private:
    locale_t m_locale;
};

} // namespace

std::tm localTime(std::time_t moment)
{
    std::tm local{};
    localtime_r(&moment, &local);
    return local;
}

std::string userAbbreviatedMonthName(int month)
{
    const UserTimeLocale locale;
    return locale.get() ? nl_langinfo_l(ABMON_1 + month - 1, locale.get()) : "";
}

std::optional<std::string> formatUserDateTime(const std::tm& moment)
{
    const UserTimeLocale user;
    const locale_t locale = user.get();
    if (!locale)
        return std::nullopt;
    std::string pattern = nl_langinfo_l(D_FMT, locale);
    for (size_t at = pattern.find("%y"); at != std::string::npos; at = pattern.find("%y", at))
        pattern[at + 1] = 'Y';
    pattern.append(" ").append(nl_langinfo_l(T_FMT, locale));

    char buffer[128];
    const size_t n = strftime_l(buffer, sizeof buffer, pattern.c_str(), &moment, locale);
    if (n == 0)
        return std::nullopt;
    return std::string(buffer, n);
}

} // namespace quorvex

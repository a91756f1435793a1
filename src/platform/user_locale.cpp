#include "platform/user_locale.hpp"

namespace quorvex {

std::array<std::string, 12> userAbbreviatedMonthNames()
{
    std::array<std::string, 12> names;
    for (int month = 1; month <= 12; ++month)
        names[static_cast<size_t>(month - 1)] = userAbbreviatedMonthName(month);
    return names;
}

} // namespace quorvex

// Dates in the user's locale, chosen through LC_ALL as a user's session would.
#include "support/date_text.hpp"

#include "fakes/fixed_clock.hpp"
#include "fakes/scoped_env.hpp"

#include <gtest/gtest.h>

#include <locale.h>
#include <string>

namespace quorvex {
namespace {

using test::at;

// The user's locale's own month abbreviations; runs where a German locale is installed.
TEST(DateText, AcceptsTheUsersLocaleMonthAbbreviations)
{
    const locale_t german = newlocale(LC_TIME_MASK, "de_DE.UTF-8", locale_t{});
    if (!german)
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    freelocale(german);
    const test::ScopedEnv inGerman("LC_ALL", "de_DE.UTF-8");
    EXPECT_EQ(parseDate("Dez-05-2026"), at(2026, 12, 5));
    EXPECT_EQ(parseDate("OKT-5-2027"), at(2027, 10, 5));
    EXPECT_EQ(parseDate("Dec-05-2026"), at(2026, 12, 5));
}

} // namespace
} // namespace quorvex

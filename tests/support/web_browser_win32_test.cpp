// The browser on Windows: the program registered for http addresses, which Wine's prefix
// names; the preferences take it as their default. (FindExecutable is tested through the
// Access actions, with the fake Access registered for database files.)
#include "fakes/test_environment.hpp"
#include "platform/file_association.hpp"
#include "platform/file_system.hpp"
#include "support/preferences.hpp"

namespace quorvex::test {
namespace {

using WebBrowserTest = AppDirTest;

TEST_F(WebBrowserTest, IsTheProgramOfHttpAddressesAndThePreferencesDefault)
{
    const auto browser = webBrowserProgram();
    ASSERT_TRUE(browser);
    EXPECT_EQ(entryKind(*browser), EntryKind::File) << *browser;
    LoadPreferences();
    EXPECT_EQ(preferences().IEPath, *browser);
}

} // namespace
} // namespace quorvex::test

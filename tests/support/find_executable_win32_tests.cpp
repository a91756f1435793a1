// FindExecutable and the browser on Windows: both answer from the registry's associations.
// The tests register their own in the Wine prefix the test run makes.
#include "fakes/file_types_win32.hpp"
#include "fakes/test_environment.hpp"
#include "platform/file_association.hpp"
#include "platform/file_system.hpp"
#include "support/files.hpp"
#include "support/preferences.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;

// Documents of a made-up type open with a program of the test folder.
class FindExecutableWin32Test : public AppDirTest {
protected:
    void SetUp() override
    {
        AppDirTest::SetUp();
        fs::create_directory(dir() / "Program Files");
        m_program = path("Program Files") + "\\viewer.exe";
        fs::copy_file(QUORVEX_FAKE_ACCESS, m_program);
        associateExtension(".qvxdb", "QuorvexTest.Database", m_program);
    }
    void TearDown() override
    {
        removeAssociation(".qvxdb", "QuorvexTest.Database");
        AppDirTest::TearDown();
    }

    std::string m_program;
};

TEST_F(FindExecutableWin32Test, GivesTheAssociatedProgramWithoutQuotesOrNothing)
{
    writeFile(dir() / "Orders.qvxdb", "");
    writeFile(dir() / "Orders.unknownext", "");
    const std::string found = FindExecutable(path("Orders.qvxdb"));
    ASSERT_FALSE(found.empty());
    // The system may spell the folder its own way (short names, case); the file is the same.
    EXPECT_NE(found.front(), '"');
    EXPECT_NE(found.back(), ' ');
    EXPECT_TRUE(sameEntry(found, m_program)) << found;
    EXPECT_EQ(FindExecutable(path("Orders.unknownext")), "");
    EXPECT_EQ(FindExecutable(path("Missing.qvxdb")), "");
}

// Wine's prefix registers its own browser for http addresses; the preferences take the browser
// as their default.
TEST_F(FindExecutableWin32Test, TheBrowserIsTheProgramOfHttpAddressesAndThePreferencesDefault)
{
    const auto browser = webBrowserProgram();
    ASSERT_TRUE(browser);
    EXPECT_EQ(entryKind(*browser), EntryKind::File) << *browser;
    LoadPreferences();
    EXPECT_EQ(preferences().IEPath, *browser);
}

} // namespace
} // namespace quorvex::test

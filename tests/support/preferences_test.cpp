#include "support/preferences.hpp"

#include "fakes/test_environment.hpp"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

class PreferencesTest : public test::AppDirTest
{
protected:
    void SetUp() override
    {
        AppDirTest::SetUp();
        preferences() = Preferences{};
    }
    void TearDown() override
    {
        preferences() = Preferences{};
        AppDirTest::TearDown();
    }
};

TEST_F(PreferencesTest, LivesBesideTheProgramAndNamesTheJobsDirectory)
{
    EXPECT_EQ(preferencesFilePath(), path("Quorvex.ini"));
    EXPECT_EQ(DatabaseJobsPath(), dir().string() + "/DatabaseJobs/");
}

TEST_F(PreferencesTest, AMissingFileGivesTheDefaultsAndIsNotCreated)
{
    LoadPreferences();
    EXPECT_EQ(preferences().StopOnError, -1);
    EXPECT_EQ(preferences().NumberCopies, 99);
    EXPECT_EQ(preferences().IEPath, "C:\\Program Files\\Internet Explorer\\IExplore.exe");
    EXPECT_FALSE(fs::exists(preferencesFilePath()));
}

TEST_F(PreferencesTest, ReadsStoredValuesAsTheirLeadingNumbers)
{
    writeFile(
        preferencesFilePath(),
        "[Preferences]\r\nStopOnError=yes\r\nNumberCopies=2.5 copies\r\nIEPath=/usr/bin/b\r\n");
    LoadPreferences();
    EXPECT_EQ(preferences().StopOnError, 0);
    EXPECT_EQ(preferences().NumberCopies, 2);
    EXPECT_EQ(preferences().IEPath, "/usr/bin/b");
}

TEST_F(PreferencesTest, AStoredOneIsTrueAndWrittenBackAsMinusOne)
{
    writeFile(preferencesFilePath(),
              "; kept\r\n[Preferences]\r\nStopOnError=1\r\nNumberCopies=7\r\nIEPath=/b\r\n");
    LoadPreferences();
    EXPECT_EQ(preferences().StopOnError, 1);
    SavePreferences();
    EXPECT_EQ(readFile(preferencesFilePath()),
              "; kept\r\n[Preferences]\r\nStopOnError=-1\r\nNumberCopies=7\r\nIEPath=/b\r\n");
}

TEST_F(PreferencesTest, SavingCreatesAnOwnerOnlyFileInTheKeyOrder)
{
    preferences().NumberCopies = -12;
    preferences().IEPath = "/opt/My Browser/browser";
    SavePreferences();
    EXPECT_EQ(readFile(preferencesFilePath()),
              "[Preferences]\r\nStopOnError=0\r\nNumberCopies=-12\r\n"
              "IEPath=/opt/My Browser/browser\r\n");
    EXPECT_EQ(fs::status(preferencesFilePath()).permissions(), fs::perms(0600));
}

TEST_F(PreferencesTest, AStoredNumberCopiesAbove32767IsAFatalOverflow)
{
    writeFile(preferencesFilePath(), "[Preferences]\r\nNumberCopies=32768\r\n");
    EXPECT_THROW(LoadPreferences(), test::FatalExitCalled);
    const std::string log = readFile(path("quorvex.err"));
    EXPECT_NE(log.find("Description: ERR#6 @ Quorvex - Overflow\r\n"), std::string::npos);
    EXPECT_NE(log.find("Module/Function: appSetup.bas/LoadPreferences().\r\n"), std::string::npos);
}

} // namespace
} // namespace quorvex

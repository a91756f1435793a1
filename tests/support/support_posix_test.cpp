// What INI files, preferences and dates do with what only POSIX systems have: pipes,
// permission bits, symbolic links, a PATH searched for the desktop's opener, and a locale chosen
// through LC_ALL as a user's session would.
#include "support/date_text.hpp"
#include "support/ini_file.hpp"
#include "support/preferences.hpp"

#include "fakes/scoped_env.hpp"
#include "support_test.hpp"

#include <locale.h>
#include <sys/stat.h>

namespace quorvex {
namespace {

namespace fs = std::filesystem;

using test::IniFileTest;
using test::loaded;

TEST_F(IniFileTest, AMissingFileAPipeOrAFolderGiveTheDefaultAtOnceAndWritingCreatesAnOwnerOnlyFile)
{
    ASSERT_EQ(::mkfifo(path("pipe.ini").c_str(), 0600), 0);
    for (const std::string& from : {file(), path("pipe.ini"), dir().string()}) {
        std::string result = "<untouched>";
        EXPECT_TRUE(GetIniData("S", "k", " exact default ", result, from));
        EXPECT_EQ(result, " exact default ") << from;
    }
    EXPECT_FALSE(fs::exists(file()));
    ASSERT_TRUE(WriteIniData("General", "Password", "secret", file()));
    EXPECT_EQ(readFile(file()), "[General]\r\nPassword=secret\r\n");
    EXPECT_EQ(fs::status(file()).permissions(), fs::perms(0600));
}

// The new content goes into a complete new file that takes the old one's place: a second hard
// link still shows the old content, and no temporary file is left behind.
TEST_F(IniFileTest, ReplacesTheWholeFileKeepingItsPermissionsAndASymbolicLinkToIt)
{
    writeFile(path("target.ini"), "[S]\nk=1\n");
    fs::permissions(path("target.ini"), fs::perms(0640));
    fs::create_symlink(path("target.ini"), file());
    fs::create_hard_link(path("target.ini"), path("old.ini"));
    ASSERT_TRUE(WriteIniData("S", "k", "2", file()));
    EXPECT_TRUE(fs::is_symlink(file()));
    EXPECT_EQ(readFile(path("target.ini")), "[S]\nk=2\n");
    EXPECT_EQ(fs::status(path("target.ini")).permissions(), fs::perms(0640));
    EXPECT_EQ(readFile(path("old.ini")), "[S]\nk=1\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir()), fs::directory_iterator()), 3);
}

using PreferencesTest = test::AppDirTest;

TEST_F(PreferencesTest, AMissingFileGivesTheDefaultsAndSavingCreatesTheFileInKeyOrder)
{
    EXPECT_EQ(preferencesFilePath(), path("Quorvex.ini"));
    EXPECT_EQ(DatabaseJobsPath(), dir().string() + "/DatabaseJobs/");
    // The browser is the desktop's opener as PATH finds it, or none.
    {
        const test::ScopedEnv onlyOurs("PATH", dir().string());
        EXPECT_EQ(loaded(), std::tuple(-1, 99, ""));
        writeFile(path("xdg-open"), "#!/bin/sh\n");
        fs::permissions(path("xdg-open"), fs::perms::owner_all);
        EXPECT_EQ(loaded(), std::tuple(-1, 99, path("xdg-open")));
    }
    EXPECT_FALSE(fs::exists(preferencesFilePath()));
    preferences() = {0, -12, "/opt/My Browser/browser"};
    SavePreferences();
    EXPECT_EQ(readFile(preferencesFilePath()),
              "[Preferences]\r\nStopOnError=0\r\nNumberCopies=-12\r\n"
              "IEPath=/opt/My Browser/browser\r\n");
}

// The user's locale's own month abbreviations; runs where a German locale is installed.
TEST(DateText, AcceptsTheUsersLocaleMonthAbbreviations)
{
    const locale_t german = newlocale(LC_TIME_MASK, "de_DE.UTF-8", locale_t{});
    if (!german)
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    freelocale(german);
    const test::ScopedEnv inGerman("LC_ALL", "de_DE.UTF-8");
    EXPECT_EQ(parseDate("Dez-05-2026"), test::at(2026, 12, 5));
    EXPECT_EQ(parseDate("OKT-5-2027"), test::at(2027, 10, 5));
    EXPECT_EQ(parseDate("Dec-05-2026"), test::at(2026, 12, 5));
}

} // namespace
} // namespace quorvex

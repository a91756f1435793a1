#include "support/ini_file.hpp"
#include "support/preferences.hpp"

#include "fakes/test_environment.hpp"
#include "fakes/text_lines.hpp"
#include "support/date_text.hpp"

#include <array>
#include <cstdlib>
#include <sys/stat.h>

namespace quorvex {
namespace {

namespace fs = std::filesystem;

class IniFileTest : public test::AppDirTest {
protected:
    static std::string repeated(const std::string& text, int times)
    {
        std::string result;
        for (int i = 0; i < times; ++i)
            result += text;
        return result;
    }
    std::string file() const { return path("settings.ini"); }
};

TEST_F(IniFileTest, ReadsTheFirstMatchWhateverTheCaseBlanksQuotesAndLineEnds)
{
    // clang-format off
    writeFile(file(), "\xEF\xBB\xBF[ General ]\r\n  JobName  =  Nightly Backup  \r\nk=1\nK=2\n"
        ";c=commented\nc=a ; b\nd=\"two words\"\ns='single'\nmixed=\"a'\none=\"\ninner=a\"b\"\n"
        "long=" + std::string(300, 'x') + "\nlongUmlauts=" + repeated("\xC3\xBC", 300) + std::string("\nnul=ab\0cd\ncr=ab\rcd", 20) + "\nempty=\nnoequals\n[general]\nk=4\nonly=5\n[B]\nm=3");
    const std::tuple<const char*, const char*, std::string> rows[] = {
        {"general", "JOBNAME", "Nightly Backup"}, {" General", "jobname ", "Nightly Backup"},
        {"GENERAL", "k", "1"}, {"general", "only", "<default>"}, {"B", "m", "3"},
        {"general", "c", "a ; b"}, {"general", "d", "two words"}, {"general", "s", "single"},
        {"general", "mixed", "\"a'"}, {"general", "one", "\""}, {"general", "inner", "a\"b\""},
        {"general", "long", std::string(255, 'x')}, {"general", "longUmlauts", repeated("\xC3\xBC", 255)},
        {"general", "nul", "ab"}, {"general", "cr", "ab"}, {"general", "empty", ""},
        {"general", "noequals", "<default>"}, {"general", "missing", "<default>"},
        {"missing", "k", "<default>"}};
    // clang-format on
    for (const auto& [section, key, expected] : rows) {
        std::string result = "<untouched>";
        EXPECT_TRUE(GetIniData(section, key, "<default>", result, file()));
        EXPECT_EQ(result, expected) << "[" << section << "] " << key;
    }
}

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

TEST_F(IniFileTest, WritesInPlaceOrAtTheEndOfTheSectionKeepingEveryOtherLineAndTheLineEnds)
{
    // clang-format off
    const std::array<const char*, 5> rows[] = {
        {"; comment\n[S]\n  Key = old ; tail\nplain line\n\n[T]\nKey=x\n", "s", "KEY", "new",
         "; comment\n[S]\n  Key=new\nplain line\n\n[T]\nKey=x\n"},
        {"[A]\r\nk1=1\r\n; about B\r\n\r\n[B]\r\nx=1\r\n", "A", "k2", "2",
         "[A]\r\nk1=1\r\nk2=2\r\n; about B\r\n\r\n[B]\r\nx=1\r\n"},
        {"[A]\n\n[B]\n", "a", "k", "v", "[A]\nk=v\n\n[B]\n"},
        {"[A]", "A", "k", "v", "[A]\r\nk=v"},
        {"[A]\nk=1", "B", "x", "v", "[A]\nk=1\n[B]\nx=v\n"},
        {"[A]\r\nk=1\r\n", "B", "x", "", "[A]\r\nk=1\r\n[B]\r\nx=\r\n"}};
    // clang-format on
    for (const auto& [before, section, key, value, after] : rows) {
        writeFile(file(), before);
        EXPECT_TRUE(WriteIniData(section, key, value, file()));
        EXPECT_EQ(readFile(file()), after) << before;
    }
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

TEST_F(IniFileTest, AFailedWriteLeavesTheFileAsItWasAndCreatesNothing)
{
    writeFile(file(), "[S]\nk=1\n");
    fs::permissions(file(), fs::perms(0444));
    fs::create_directory(path("folder.ini"));
    for (const char* name : {"settings.ini", "missing/settings.ini", "folder.ini"})
        EXPECT_FALSE(WriteIniData("S", "k", "2", path(name))) << name;
    EXPECT_EQ(readFile(file()), "[S]\nk=1\n");
    EXPECT_FALSE(fs::exists(path("missing")));
    EXPECT_TRUE(fs::is_empty(path("folder.ini")));
}

TEST_F(IniFileTest, RefusesLineBreakingNamesAndValuesAndWritesSeveralValuesTogetherOrNotAtAll)
{
    writeFile(file(), "[S]\nk=1\n");
    // clang-format off
    const IniValue rows[] = {
        {"S", "k", "1\r\n[Evil]\r\nk=2"}, {"T", "new", "x\ny"}, {"S", "a=b", "v"},
        {"S]x", "k", "v"}, {"S", "", "v"}, {" ", "k", "v"}};
    // clang-format on
    for (const IniValue& bad : rows) {
        const IniValue values[] = {{"S", "k", "2"}, bad};
        EXPECT_FALSE(WriteIniData(bad.section, bad.key, bad.value, file())) << bad.key;
        EXPECT_FALSE(WriteIniValues(values, file())) << bad.key;
    }
    EXPECT_EQ(readFile(file()), "[S]\nk=1\n");
    const IniValue values[] = {{"S", "k", "2"}, {"T", "new", "x"}, {"s", "K", "3"}};
    EXPECT_TRUE(WriteIniValues(values, file()));
    EXPECT_EQ(readFile(file()), "[S]\nk=3\n[T]\nnew=x\n");
}

// Loads the preferences and gives all three.
auto loaded()
{
    LoadPreferences();
    return std::tuple(preferences().StopOnError, preferences().NumberCopies, preferences().IEPath);
}

using PreferencesTest = test::AppDirTest;

TEST_F(PreferencesTest, AMissingFileGivesTheDefaultsAndSavingCreatesTheFileInKeyOrder)
{
    EXPECT_EQ(preferencesFilePath(), path("Quorvex.ini"));
    EXPECT_EQ(DatabaseJobsPath(), dir().string() + "/DatabaseJobs/");
    // The browser is the desktop's opener as PATH finds it, or none.
    const std::string savedPath = std::getenv("PATH");
    setenv("PATH", dir().c_str(), 1);
    EXPECT_EQ(loaded(), std::tuple(-1, 99, ""));
    writeFile(path("xdg-open"), "#!/bin/sh\n");
    fs::permissions(path("xdg-open"), fs::perms::owner_all);
    EXPECT_EQ(loaded(), std::tuple(-1, 99, path("xdg-open")));
    setenv("PATH", savedPath.c_str(), 1);
    EXPECT_FALSE(fs::exists(preferencesFilePath()));
    preferences() = {0, -12, "/opt/My Browser/browser"};
    SavePreferences();
    EXPECT_EQ(readFile(preferencesFilePath()),
              "[Preferences]\r\nStopOnError=0\r\nNumberCopies=-12\r\n"
              "IEPath=/opt/My Browser/browser\r\n");
}

TEST_F(PreferencesTest, ReadsLeadingNumbersAndWritesAStoredOneBackAsMinusOne)
{
    writeFile(preferencesFilePath(), "; kept\r\n[Preferences]\r\nStopOnError=1\r\n"
                                     "NumberCopies=2.5 copies\r\nIEPath=/usr/bin/b\r\n");
    EXPECT_EQ(loaded(), std::tuple(1, 2, "/usr/bin/b"));
    SavePreferences();
    EXPECT_EQ(readFile(preferencesFilePath()), "; kept\r\n[Preferences]\r\nStopOnError=-1\r\n"
                                               "NumberCopies=2\r\nIEPath=/usr/bin/b\r\n");
}

TEST_F(PreferencesTest, AStoredNumberCopiesAbove32767IsAFatalOverflow)
{
    writeFile(preferencesFilePath(), "[Preferences]\r\nNumberCopies=32768\r\n");
    EXPECT_THROW(LoadPreferences(), test::FatalExitCalled);
    EXPECT_EQ(test::linesOf(readFile(path("quorvex.err"))),
              test::fatalErrorEntry(formatGeneralDate(m_clock.now()), "ERR#6 @ Quorvex - Overflow",
                                    "appSetup.bas/LoadPreferences()."));
}

} // namespace
} // namespace quorvex

#include "support/ini_file.hpp"
#include "support/preferences.hpp"

#include "ini_file_test.hpp"

#include <array>

namespace quorvex {
namespace {

namespace fs = std::filesystem;

using test::IniFileTest;
using test::loaded;

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

using PreferencesTest = test::AppDirTest;

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
    expectInErrorLog({"ERR#6 @ Quorvex - Overflow", "appSetup.bas/LoadPreferences()."});
}

} // namespace
} // namespace quorvex

#include "support/ini_file.hpp"
#include "support/preferences.hpp"

#include "fakes/test_environment.hpp"

#include <array>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvex {
namespace {

namespace fs = std::filesystem;

class IniFileTest : public test::AppDirTest {
protected:
    std::string file() const { return path("settings.ini"); }

    std::string read(std::string_view section, std::string_view key,
                     const std::string& from = {}) const
    {
        std::string result = "<untouched>";
        EXPECT_TRUE(GetIniData(section, key, "<default>", result, from.empty() ? file() : from));
        return result;
    }

    // Writes and returns the whole file afterwards.
    std::string write(const std::string& before, std::string_view section, std::string_view key,
                      std::string_view value)
    {
        writeFile(file(), before);
        EXPECT_TRUE(WriteIniData(section, key, value, file()));
        return readFile(file());
    }
};

TEST_F(IniFileTest, ReadsTheFirstMatchWhateverTheCaseBlanksQuotesAndLineEnds)
{
    writeFile(file(), "\xEF\xBB\xBF[ General ]\r\n  JobName  =  Nightly Backup  \r\nk=1\nK=2\n"
                      ";c=commented\nc=a ; b\nd=\"two words\"\ns='single'\nmixed=\"a'\none=\"\n"
                      "inner=a\"b\"\nlong=" +
                          std::string(300, 'x') +
                          "\nempty=\nnoequals\n[general]\nk=4\nonly=5\n[B]\nm=3");
    // clang-format off
    const std::tuple<const char*, const char*, std::string> rows[] = {
        {"general", "JOBNAME", "Nightly Backup"}, {" General", "jobname ", "Nightly Backup"},
        {"GENERAL", "k", "1"}, {"general", "only", "<default>"}, {"B", "m", "3"},
        {"general", "c", "a ; b"}, {"general", "d", "two words"}, {"general", "s", "single"},
        {"general", "mixed", "\"a'"}, {"general", "one", "\""}, {"general", "inner", "a\"b\""},
        {"general", "long", std::string(255, 'x')}, {"general", "empty", ""},
        {"general", "noequals", "<default>"}, {"general", "missing", "<default>"},
        {"missing", "k", "<default>"}};
    // clang-format on
    for (const auto& [section, key, expected] : rows)
        EXPECT_EQ(read(section, key), expected) << "[" << section << "] " << key;
}

TEST_F(IniFileTest, AMissingFileGivesTheDefaultAndWritingCreatesItWithCrLfForItsOwnerOnly)
{
    std::string result;
    EXPECT_TRUE(GetIniData("S", "k", " exact default ", result, file()));
    EXPECT_EQ(result, " exact default ");
    EXPECT_FALSE(fs::exists(file()));
    ASSERT_TRUE(WriteIniData("General", "Password", "secret", file()));
    EXPECT_EQ(readFile(file()), "[General]\r\nPassword=secret\r\n");
    EXPECT_EQ(fs::status(file()).permissions(), fs::perms(0600));
}

TEST_F(IniFileTest, GivesTheDefaultForAPipeOrADirectoryWithoutWaiting)
{
    ASSERT_EQ(::mkfifo(file().c_str(), 0600), 0);
    EXPECT_EQ(read("S", "k"), "<default>");
    EXPECT_EQ(read("S", "k", dir().string()), "<default>");
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
    for (const auto& [before, section, key, value, after] : rows)
        EXPECT_EQ(write(before, section, key, value), after) << before;
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
    EXPECT_FALSE(WriteIniData("S", "k", "2", file()));
    EXPECT_EQ(readFile(file()), "[S]\nk=1\n");
    EXPECT_FALSE(WriteIniData("S", "k", "v", path("missing/settings.ini")));
    EXPECT_FALSE(fs::exists(path("missing")));
    fs::create_directory(path("folder.ini"));
    EXPECT_FALSE(WriteIniData("S", "k", "v", path("folder.ini")));
    EXPECT_TRUE(fs::is_empty(path("folder.ini")));
}

TEST_F(IniFileTest, RefusesNamesAndValuesThatWouldBreakTheLineStructure)
{
    writeFile(file(), "[S]\nk=1\n");
    EXPECT_FALSE(WriteIniData("S", "k", "1\r\n[Evil]\r\nk=2", file()));
    EXPECT_FALSE(WriteIniData("S", "a=b", "v", file()));
    EXPECT_FALSE(WriteIniData("S]x", "k", "v", file()));
    EXPECT_FALSE(WriteIniData("S", "", "v", file()));
    EXPECT_FALSE(WriteIniData(" ", "k", "v", file()));
    EXPECT_EQ(readFile(file()), "[S]\nk=1\n");
}

TEST_F(IniFileTest, SeveralValuesLandTogetherOrNotAtAll)
{
    writeFile(file(), "[S]\nk=1\n");
    const IniValue broken[] = {{"S", "k", "2"}, {"T", "new", "x\ny"}};
    EXPECT_FALSE(WriteIniValues(broken, file()));
    EXPECT_EQ(readFile(file()), "[S]\nk=1\n");

    const IniValue values[] = {{"S", "k", "2"}, {"T", "new", "x"}, {"s", "K", "3"}};
    EXPECT_TRUE(WriteIniValues(values, file()));
    EXPECT_EQ(readFile(file()), "[S]\nk=3\n[T]\nnew=x\n");
}

class PreferencesTest : public test::AppDirTest {
protected:
    void SetUp() override
    {
        AppDirTest::SetUp();
        preferences() = Preferences{};
    }
};

TEST_F(PreferencesTest, AMissingFileGivesTheDefaultsAndSavingCreatesAnOwnerOnlyFileInKeyOrder)
{
    EXPECT_EQ(preferencesFilePath(), path("Quorvex.ini"));
    EXPECT_EQ(DatabaseJobsPath(), dir().string() + "/DatabaseJobs/");
    LoadPreferences();
    EXPECT_EQ(preferences().StopOnError, -1);
    EXPECT_EQ(preferences().NumberCopies, 99);
    EXPECT_EQ(preferences().IEPath, "C:\\Program Files\\Internet Explorer\\IExplore.exe");
    EXPECT_FALSE(fs::exists(preferencesFilePath()));

    preferences().StopOnError = 0;
    preferences().NumberCopies = -12;
    preferences().IEPath = "/opt/My Browser/browser";
    SavePreferences();
    EXPECT_EQ(readFile(preferencesFilePath()),
              "[Preferences]\r\nStopOnError=0\r\nNumberCopies=-12\r\n"
              "IEPath=/opt/My Browser/browser\r\n");
    EXPECT_EQ(fs::status(preferencesFilePath()).permissions(), fs::perms(0600));
}

TEST_F(PreferencesTest, ReadsLeadingNumbersAndWritesAStoredOneBackAsMinusOne)
{
    writeFile(preferencesFilePath(), "; kept\r\n[Preferences]\r\nStopOnError=1\r\n"
                                     "NumberCopies=2.5 copies\r\nIEPath=/usr/bin/b\r\n");
    LoadPreferences();
    EXPECT_EQ(preferences().StopOnError, 1);
    EXPECT_EQ(preferences().NumberCopies, 2);
    EXPECT_EQ(preferences().IEPath, "/usr/bin/b");
    SavePreferences();
    EXPECT_EQ(readFile(preferencesFilePath()), "; kept\r\n[Preferences]\r\nStopOnError=-1\r\n"
                                               "NumberCopies=2\r\nIEPath=/usr/bin/b\r\n");
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

#include "support/ini_file.hpp"

#include "fakes/test_environment.hpp"

#include <sys/stat.h>
#include <unistd.h>

namespace quorvex {
namespace {

namespace fs = std::filesystem;

class IniFileTest : public test::AppDirTest
{
protected:
    std::string file() const { return path("settings.ini"); }

    std::string read(std::string_view section, std::string_view key,
                     std::string_view defaultValue = "<default>") const
    {
        std::string result = "<untouched>";
        EXPECT_TRUE(GetIniData(section, key, defaultValue, result, file()));
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

    static unsigned modeOf(const std::string& p)
    {
        return static_cast<unsigned>(fs::status(p).permissions());
    }
};

TEST_F(IniFileTest, MatchesSectionAndKeyNamesRegardlessOfCaseAndBlanks)
{
    writeFile(file(), "[ General ]\r\n  JobName  =  Nightly Backup  \r\n");
    EXPECT_EQ(read("general", "JOBNAME"), "Nightly Backup");
    EXPECT_EQ(read(" General", "jobname "), "Nightly Backup");
}

TEST_F(IniFileTest, TheFirstMatchingSectionAndKeyWin)
{
    writeFile(file(), "[A]\nk=1\nK=2\n[B]\nm=3\n[a]\nk=4\nonly=5\n");
    EXPECT_EQ(read("A", "k"), "1");
    EXPECT_EQ(read("A", "only"), "<default>");
    EXPECT_EQ(read("B", "m"), "3");
}

TEST_F(IniFileTest, DropsOneMatchingPairOfQuotesOnly)
{
    writeFile(file(), "[S]\nd=\"two words\"\ns='single'\nmixed=\"a'\none=\"\ninner=a\"b\"\n");
    EXPECT_EQ(read("S", "d"), "two words");
    EXPECT_EQ(read("S", "s"), "single");
    EXPECT_EQ(read("S", "mixed"), "\"a'");
    EXPECT_EQ(read("S", "one"), "\"");
    EXPECT_EQ(read("S", "inner"), "a\"b\"");
}

TEST_F(IniFileTest, ASemicolonAfterAValueIsPartOfTheValueButALeadingOneMakesAComment)
{
    writeFile(file(), "[S]\n;k=commented\nk=a ; b\n");
    EXPECT_EQ(read("S", "k"), "a ; b");
}

TEST_F(IniFileTest, CutsLongValuesTo255Characters)
{
    writeFile(file(), "[S]\nlong=" + std::string(300, 'x') + "\n");
    EXPECT_EQ(read("S", "long"), std::string(255, 'x'));
}

TEST_F(IniFileTest, GivesTheDefaultForAMissingFileSectionOrKeyButAnEmptyValueAsIs)
{
    EXPECT_EQ(read("S", "k", " exact default "), " exact default ");
    EXPECT_FALSE(fs::exists(file()));
    writeFile(file(), "[S]\nempty=\nnoequals\n[T]\nk=1\n");
    EXPECT_EQ(read("X", "k"), "<default>");
    EXPECT_EQ(read("S", "k"), "<default>");
    EXPECT_EQ(read("S", "noequals"), "<default>");
    EXPECT_EQ(read("S", "empty"), "");
}

TEST_F(IniFileTest, GivesTheDefaultForAPipeOrADirectoryWithoutWaiting)
{
    ASSERT_EQ(::mkfifo(file().c_str(), 0600), 0);
    EXPECT_EQ(read("S", "k"), "<default>");
    std::string result;
    EXPECT_TRUE(GetIniData("S", "k", "d", result, dir().string()));
    EXPECT_EQ(result, "d");
}

TEST_F(IniFileTest, ReadsCrLfLfAndAByteOrderMark)
{
    writeFile(file(), "\xEF\xBB\xBF[S]\r\na=1\r\nb=2\nc=3");
    EXPECT_EQ(read("S", "a"), "1");
    EXPECT_EQ(read("S", "b"), "2");
    EXPECT_EQ(read("S", "c"), "3");
}

TEST_F(IniFileTest, CreatesANewFileWithCrLfReadableByItsOwnerOnly)
{
    ASSERT_TRUE(WriteIniData("General", "Password", "secret", file()));
    EXPECT_EQ(readFile(file()), "[General]\r\nPassword=secret\r\n");
    EXPECT_EQ(modeOf(file()), 0600u);
    EXPECT_EQ(read("general", "password"), "secret");
}

TEST_F(IniFileTest, ReplacesAValueInPlaceKeepingTheStoredKeyAndEveryOtherLine)
{
    const std::string before = "; comment\n[S]\n  Key = old ; tail\nplain line\n\n[T]\nKey=x\n";
    EXPECT_EQ(write(before, "s", "KEY", "new"),
              "; comment\n[S]\n  Key=new\nplain line\n\n[T]\nKey=x\n");
}

TEST_F(IniFileTest, AddsANewKeyAfterTheLastKeyOfItsSectionBeforeTrailingBlankLines)
{
    EXPECT_EQ(write("[A]\r\nk1=1\r\n; about B\r\n\r\n[B]\r\nx=1\r\n", "A", "k2", "2"),
              "[A]\r\nk1=1\r\nk2=2\r\n; about B\r\n\r\n[B]\r\nx=1\r\n");
    EXPECT_EQ(write("[A]\n\n[B]\n", "a", "k", "v"), "[A]\nk=v\n\n[B]\n");
    EXPECT_EQ(write("[A]", "A", "k", "v"), "[A]\r\nk=v");
}

TEST_F(IniFileTest, AddsANewSectionAtTheEndInTheFilesOwnLineEnds)
{
    EXPECT_EQ(write("[A]\nk=1", "B", "x", "v"), "[A]\nk=1\n[B]\nx=v\n");
    EXPECT_EQ(write("[A]\r\nk=1\r\n", "B", "x", ""), "[A]\r\nk=1\r\n[B]\r\nx=\r\n");
}

TEST_F(IniFileTest, KeepsThePermissionsOfAnExistingFile)
{
    writeFile(file(), "[S]\nk=1\n");
    fs::permissions(file(), fs::perms(0640));
    ASSERT_TRUE(WriteIniData("S", "k", "2", file()));
    EXPECT_EQ(modeOf(file()), 0640u);
}

TEST_F(IniFileTest, FollowsASymbolicLinkAndKeepsIt)
{
    writeFile(path("target.ini"), "[S]\nk=1\n");
    fs::create_symlink(path("target.ini"), file());
    ASSERT_TRUE(WriteIniData("S", "k", "2", file()));
    EXPECT_TRUE(fs::is_symlink(file()));
    EXPECT_EQ(readFile(path("target.ini")), "[S]\nk=2\n");
}

TEST_F(IniFileTest, RefusesAReadOnlyFileAndLeavesItAsItWas)
{
    writeFile(file(), "[S]\nk=1\n");
    fs::permissions(file(), fs::perms(0444));
    EXPECT_FALSE(WriteIniData("S", "k", "2", file()));
    EXPECT_EQ(readFile(file()), "[S]\nk=1\n");
}

TEST_F(IniFileTest, KeepsTheOldContentWhenTheDirectoryIsReadOnly)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only directories";
    writeFile(file(), "[S]\nk=1\n");
    fs::permissions(dir(), fs::perms(0555));
    EXPECT_FALSE(WriteIniData("S", "k", "2", file()));
    EXPECT_FALSE(WriteIniData("S", "k", "2", path("new.ini")));
    fs::permissions(dir(), fs::perms(0700));
    EXPECT_EQ(readFile(file()), "[S]\nk=1\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir()), fs::directory_iterator()), 1);
}

TEST_F(IniFileTest, FailsWithoutCreatingAnythingWhenTheFileCannotBeWritten)
{
    EXPECT_FALSE(WriteIniData("S", "k", "v", path("missing/settings.ini")));
    fs::create_directory(path("folder.ini"));
    EXPECT_FALSE(WriteIniData("S", "k", "v", path("folder.ini")));
    EXPECT_FALSE(fs::exists(path("missing")));
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

} // namespace
} // namespace quorvex

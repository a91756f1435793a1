#include "support/ini_file.hpp"
#include "support/preferences.hpp"

#include "support_test.hpp"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

using test::IniFileTest;
using test::loaded;

TEST_F(IniFileTest, ReadsTheFirstMatchWhateverTheCaseBlanksQuotesAndLineEnds)
{
    for (const auto& c : test::casesOf("ini_read.txt")) {
        std::string result = "<untouched>";
        EXPECT_TRUE(GetIniData(c[0], c[1], "<default>", result, QUORVEX_TEST_DATA_DIR "/read.ini"));
        EXPECT_EQ(result, c[2]) << "[" << c[0] << "] " << c[1];
    }
}

TEST_F(IniFileTest, WritesInPlaceOrAtTheEndOfTheSectionKeepingEveryOtherLineAndTheLineEnds)
{
    for (const auto& c : test::casesOf("ini_write.txt")) {
        writeFile(file(), c[0]);
        EXPECT_TRUE(WriteIniData(c[1], c[2], c[3], file()));
        EXPECT_EQ(readFile(file()), c[4]) << c[0];
    }
}

TEST_F(IniFileTest, RefusedOrFailedWritesLeaveTheFileAsItWasAndSeveralValuesGoTogetherOrNotAtAll)
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
    fs::permissions(file(), fs::perms(0444));
    fs::create_directory(path("folder.ini"));
    for (const char* name : {"settings.ini", "missing/settings.ini", "folder.ini"})
        EXPECT_FALSE(WriteIniData("S", "k", "2", path(name))) << name;
    EXPECT_EQ(readFile(file()), "[S]\nk=1\n");
    EXPECT_FALSE(fs::exists(path("missing")));
    EXPECT_TRUE(fs::is_empty(path("folder.ini")));
    fs::permissions(file(), fs::perms(0644));
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

} // namespace
} // namespace quorvex

#include "support/strings.hpp"
#include "support/transaction_log.hpp"

#include "fakes/test_environment.hpp"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

class TransactionLogTest : public test::AppDirTest
{
};

TEST_F(TransactionLogTest, WritesStampTwoBlanksAndMessageWithQuotesTurnedIntoApostrophes)
{
    ASSERT_FALSE(fs::exists(transactionLogPath()));
    LogEvent("Backup of \"D:\\Data\\Orders.mdb\" started");
    EXPECT_EQ(transactionLogPath(), path("quorvex.log"));
    EXPECT_EQ(readFile(transactionLogPath()),
              "12/05/2026 10:00:00  Backup of 'D:\\Data\\Orders.mdb' started\r\n");
}

TEST_F(TransactionLogTest, WritesNullForAnEmptyMessage)
{
    LogEvent("");
    EXPECT_EQ(readFile(transactionLogPath()), "12/05/2026 10:00:00  Null\r\n");
}

TEST_F(TransactionLogTest, AppendsLinesInCallOrderWithTheClocksStamp)
{
    LogEvent("first");
    LogEvent("second");
    m_clock.advanceSeconds(86400 + 3661);
    LogEvent("line one\r\nline two");
    EXPECT_EQ(readFile(transactionLogPath()), "12/05/2026 10:00:00  first\r\n"
                                              "12/05/2026 10:00:00  second\r\n"
                                              "12/06/2026 11:01:01  line one\r\nline two\r\n");
}

TEST_F(TransactionLogTest, AnUnwritableLogIsFatal)
{
    fs::create_directory(transactionLogPath());
    EXPECT_THROW(LogEvent("lost"), test::FatalExitCalled);
    ASSERT_EQ(m_desktop.boxes().size(), 1u);
    EXPECT_EQ(m_desktop.boxes()[0].title, "Fatal Application Error");
    EXPECT_NE(readFile(path("quorvex.err")).find("Module/Function: libLog.bas/LogEvent()."),
              std::string::npos);
}

class StripBadCharsTest : public test::AppDirTest
{
};

TEST_F(StripBadCharsTest, ReplacesEachListedCharacterByTheReplacement)
{
    EXPECT_EQ(StripBadChars("Nightly Backup (1)!", "' ;@#!$%^&*()", ""), "NightlyBackup1");
    EXPECT_EQ(StripBadChars("a'b;c", "';", "<->"), "a<->b<->c");
    EXPECT_EQ(StripBadChars("aAa", "a", "x"), "xAx");
    EXPECT_EQ(StripBadChars("", "a", "x"), "");
}

TEST_F(StripBadCharsTest, TextsOver32767CharactersAreAFatalOverflow)
{
    EXPECT_EQ(StripBadChars(std::string(32767, 'a'), "a", "").size(), 0u);
    EXPECT_THROW(StripBadChars(std::string(32768, 'a'), "a", ""), test::FatalExitCalled);
    const std::string log = readFile(path("quorvex.err"));
    EXPECT_NE(log.find("ERR#6 @ Quorvex - Overflow"), std::string::npos);
    EXPECT_NE(log.find("libStrings.bas/StripBadChars()."), std::string::npos);
}

} // namespace
} // namespace quorvex

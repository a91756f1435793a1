#include "support/computer_name.hpp"
#include "support/date_text.hpp"
#include "support/desktop.hpp"
#include "support/error_handler.hpp"
#include "support/transaction_log.hpp"

#include "fakes/test_environment.hpp"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

class ErrorHandlerTest : public test::AppDirTest {
protected:
    std::string errorLog() const { return readFile(path("quorvex.err")); }
};

// The text with every "from" replaced.
std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// The error log and the boxes, compared whole with error_report.txt, the one home of the entry
// and of the box texts (written there with LF ends, the moment and the computer by name).
TEST_F(ErrorHandlerTest, EachReportAppendsItsEntryAndShowsItsBoxAndOnlyAFatalOneEndsTheProgram)
{
    HandleError(false, RuntimeError(53, "Quorvex", "File 'a;b' is \"gone\"", 2), "libFiles.bas",
                "uKill()");
    const RuntimeError error(err::ObjectErrorBase + 1, "FilePathStripFileName()",
                             "Error, no \\'s in path", -5);
    EXPECT_THROW(HandleError(true, error, "libFiles.bas", "FilePathStripFileName()"),
                 test::FatalExitCalled);

    std::string report = errorLog() + "-- the boxes: title (style): text\r\n";
    for (const auto& box : m_desktop.boxes())
        report += box.title + " (" + std::to_string(box.style) + "): " + box.text + "\r\n";
    std::string expected = readFile(QUORVEX_TEST_DATA_DIR "/error_report.txt");
    expected = replaced(replaced(expected, "\n", "\r\n"), "<computer>", GetComputerNameA());
    EXPECT_EQ(report, replaced(expected, "<date>", formatGeneralDate(test::at(2026, 12, 5, 10))));
}

TEST_F(ErrorHandlerTest, ForeignFailuresAndVeryLongDescriptionsAreReportedOnceInFull)
{
    EXPECT_THROW(trapFatal("CDatabaseJob.cls", "OpenDatabaseJob()",
                           []() -> int { throw std::runtime_error("odd \"thing\""); }),
                 test::FatalExitCalled);
    const std::string description(40000, 'x');
    EXPECT_THROW(
        HandleError(true, RuntimeError(75, "Quorvex", description), "libLog.bas", "LogEvent()"),
        test::FatalExitCalled);
    expectInErrorLog({"Severity:    Fatal", "ERR#-2147221503 @ Quorvex - odd ~thing~\r\n",
                      "CDatabaseJob.cls/OpenDatabaseJob().",
                      "Description: ERR#75 @ Quorvex - " + description + "\r\n"});
    EXPECT_EQ(errorLog().find("libStrings.bas"), std::string::npos);
    EXPECT_EQ(m_desktop.boxes().size(), 2u);
}

// A folder where the log should be makes it unwritable, also for root. The report still shows
// its box and ends the program (or returns) as it would have; nothing escapes it.
TEST_F(ErrorHandlerTest, AnUnwritableErrorLogCostsTheEntryButNeverTheBoxOrTheEnd)
{
    fs::create_directory(path("quorvex.err"));
    const RuntimeError error(70, "Quorvex", "Permission denied");
    EXPECT_FALSE(WriteErrorLogEntry(false, error, "CDatabaseJob.cls", "ExecuteBackupNow()"));
    EXPECT_NO_THROW(HandleError(false, error, "appSetup.bas", "RunIE()"));
    EXPECT_THROW(HandleError(true, error, "appSetup.bas", "Main()"), test::FatalExitCalled);
    std::vector<std::string> titles;
    for (const auto& box : m_desktop.boxes())
        titles.push_back(box.title);
    EXPECT_EQ(titles,
              (std::vector<std::string>{"Non Fatal Application Error", "Fatal Application Error"}));
}

using TransactionLogTest = test::AppDirTest;

TEST_F(TransactionLogTest, AppendsStampTwoBlanksAndTheMessageWithApostrophesAndCannotFailQuietly)
{
    ASSERT_FALSE(fs::exists(transactionLogPath()));
    LogEvent("Backup of \"D:\\Data\\Orders.mdb\" started");
    LogEvent("");
    m_clock.advanceSeconds(86400 + 3661);
    LogEvent("line one\r\nline two");
    EXPECT_EQ(transactionLogPath(), path("quorvex.log"));
    EXPECT_EQ(readFile(transactionLogPath()),
              "12/05/2026 10:00:00  Backup of 'D:\\Data\\Orders.mdb' started\r\n"
              "12/05/2026 10:00:00  Null\r\n"
              "12/06/2026 11:01:01  line one\r\nline two\r\n");
    // A log that cannot be written is fatal.
    fs::remove(transactionLogPath());
    fs::create_directory(transactionLogPath());
    EXPECT_THROW(LogEvent("lost"), test::FatalExitCalled);
    EXPECT_EQ(m_desktop.boxes().size(), 1u);
    expectInErrorLog({"Severity:    Fatal", "libLog.bas/LogEvent()."});
}

} // namespace
} // namespace quorvex

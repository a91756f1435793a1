#include "support/computer_name.hpp"
#include "support/date_text.hpp"
#include "support/desktop.hpp"
#include "support/error_handler.hpp"

#include "fakes/test_environment.hpp"

namespace quorvex {
namespace {

class ErrorHandlerTest : public test::AppDirTest
{
protected:
    std::string errorLog() const { return readFile(path("quorvex.err")); }

    std::string entryHead(const char* severity) const
    {
        return std::string(80, '-') + "\r\n" +
               "Date:        " + formatGeneralDate(test::at(2026, 12, 5, 10, 0, 0)) + "\r\n" +
               "Computer:    " + GetComputerNameA() + "\r\n" + "Severity:    " + severity + "\r\n";
    }
};

TEST_F(ErrorHandlerTest, WritesTheEntryLineByLineWithTildesAndGraveAccents)
{
    const RuntimeError error(53, "Quorvex", "File 'a;b' is \"gone\"", 2);
    HandleError(false, error, "libFiles.bas", "uKill()");

    EXPECT_EQ(errorLog(), entryHead("Non-Fatal") +
                              "Description: ERR#53 @ Quorvex - File ~a~b~ is ~gone~\r\n"
                              "Last DLL:     2 \r\n"
                              "Details:     ERR#53 @ Quorvex - File `a`b` is `gone`\r\n" +
                              std::string(40, '-') +
                              "\r\n"
                              "Module/Function: libFiles.bas/uKill().\r\n"
                              "\r\n"
                              "\r\n");
}

TEST_F(ErrorHandlerTest, ANonFatalReportShowsItsBoxAndReturns)
{
    HandleError(false, RuntimeError(53, "Quorvex", "it's gone"), "appSetup.bas", "RunIE()");
    ASSERT_EQ(m_desktop.boxes().size(), 1u);
    EXPECT_EQ(m_desktop.boxes()[0].text,
              "ERR#53 @ Quorvex - it~s gone\r\n\r\nPress Ok to Continue.");
    EXPECT_EQ(m_desktop.boxes()[0].style, mb::OkOnly | mb::Exclamation);
    EXPECT_EQ(m_desktop.boxes()[0].title, "Non Fatal Application Error");
}

TEST_F(ErrorHandlerTest, AFatalReportShowsItsBoxThenEndsTheProgram)
{
    const RuntimeError error(err::ObjectErrorBase + 1, "FilePathStripFileName()",
                             "Error, no \\'s in path", -5);
    EXPECT_THROW(HandleError(true, error, "libFiles.bas", "FilePathStripFileName()"),
                 test::FatalExitCalled);

    const std::string log = errorLog();
    EXPECT_EQ(log.substr(0, entryHead("Fatal").size()), entryHead("Fatal"));
    EXPECT_NE(log.find("Description: ERR#-2147221503 @ FilePathStripFileName() - Error, no \\~s in "
                       "path\r\nLast DLL:    -5 \r\n"),
              std::string::npos);
    ASSERT_EQ(m_desktop.boxes().size(), 1u);
    EXPECT_EQ(m_desktop.boxes()[0].text, "ERR#-2147221503 @ FilePathStripFileName() - Error, no "
                                         "\\~s in path\r\n\r\nApplication will now terminate.");
    EXPECT_EQ(m_desktop.boxes()[0].style, mb::OkOnly | mb::Exclamation);
    EXPECT_EQ(m_desktop.boxes()[0].title, "Fatal Application Error");
}

TEST_F(ErrorHandlerTest, TwoReportsLeaveTwoCompleteEntries)
{
    HandleError(false, RuntimeError(53, "Quorvex", "first"), "appSetup.bas", "RunIE()");
    EXPECT_THROW(HandleError(true, RuntimeError(6, "Quorvex", "Overflow"), "appSetup.bas",
                             "LoadPreferences()"),
                 test::FatalExitCalled);
    const std::string log = errorLog();
    const size_t second = log.find(std::string(80, '-'), 80);
    ASSERT_NE(second, std::string::npos);
    EXPECT_EQ(log.substr(0, entryHead("Non-Fatal").size()), entryHead("Non-Fatal"));
    EXPECT_EQ(log.substr(second, entryHead("Fatal").size()), entryHead("Fatal"));
    EXPECT_EQ(log.find(std::string(80, '-'), second + 80), std::string::npos);
    EXPECT_TRUE(log.ends_with("Module/Function: appSetup.bas/LoadPreferences().\r\n\r\n\r\n"));
}

TEST_F(ErrorHandlerTest, TheWholeBodyTrapReportsForeignFailuresAsFatal)
{
    EXPECT_THROW(trapFatal("CDatabaseJob.cls", "OpenDatabaseJob()",
                           []() -> int { throw std::runtime_error("odd \"thing\""); }),
                 test::FatalExitCalled);
    const std::string log = errorLog();
    EXPECT_NE(log.find("Description: ERR#-2147221503 @ Quorvex - odd ~thing~\r\n"),
              std::string::npos);
    EXPECT_NE(log.find("Module/Function: CDatabaseJob.cls/OpenDatabaseJob().\r\n"),
              std::string::npos);
}

TEST_F(ErrorHandlerTest, AVeryLongDescriptionIsReportedOnceInFull)
{
    const std::string description(40000, 'x');
    EXPECT_THROW(HandleError(true, RuntimeError(75, "Quorvex", description), "libLog.bas",
                             "LogEvent()"),
                 test::FatalExitCalled);
    const std::string log = errorLog();
    EXPECT_NE(log.find("Description: ERR#75 @ Quorvex - " + description + "\r\n"),
              std::string::npos);
    EXPECT_EQ(log.find("libStrings.bas"), std::string::npos);
    ASSERT_EQ(m_desktop.boxes().size(), 1u);
}

} // namespace
} // namespace quorvex

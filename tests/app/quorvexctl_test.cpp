#include "run_quorvexctl.hpp"

#include "fakes/test_environment.hpp"
#include "jobs/job_directory.hpp"
#include "platform/paths.hpp"
#include "support/date_text.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace quorvex {
namespace {

// quorvexctl runs with the real clock, as a user would, and so does the test.
class QuorvexctlTest : public test::AppDirTest {
protected:
    void SetUp() override
    {
        AppDirTest::SetUp();
        setClock(nullptr);
        std::filesystem::create_directory(path("DatabaseJobs"));
    }

    std::string jobsDir() const { return path("DatabaseJobs") + kPathSeparator; }
    // The exit status, standard output and standard error of quorvexctl run with the arguments.
    auto run(const std::vector<std::string>& args, const std::string& workDir = {}) const
    {
        const test::CtlOutcome outcome = test::runQuorvexctl(args, dir(), workDir);
        return std::tuple(outcome.status, outcome.out, outcome.err);
    }
};

// Started at 00:00, the daily job's next run is always tomorrow; the default DayOfWeek selects
// no day, so the hand-edited jobs have no next run. A relative application directory prints
// the same full paths. With --due, two more fields: whether the next due check runs the job
// ("due" after a check two days ago that saw its run of yesterday ahead), and the run missed
// since its last one.
TEST_F(QuorvexctlTest, ListsEveryJobFileInStartUpOrderWithItsNextRunAndWhatIsDue)
{
    // clang-format off
    const std::string schedule = "JobType=3\r\n[Schedule]\r\nDateLastRun=Nov-30-2026\r\n";
    writeFile(jobsDir() + "Never.tsk", "[General]\r\nJobName=Never\r\n" + schedule + "StartTime=07:05\r\nFrequency=0\r\n");
    writeFile(jobsDir() + "Everyday.tsk", "[General]\r\nJobName=Every day\r\n" + schedule + "Frequency=1\r\nDayOfWeek=254\r\n");
    // Keys that are missing get the reader's defaults.
    writeFile(jobsDir() + "Sparse.tsk", "[General]\r\nJobName=Sparse\r\n");
    writeFile(jobsDir() + "Empty", "");
    const DateTime today = Today();
    writeFile(path("DueCheck.ini"), "[DueCheck]\r\nLastCheck=" + formatLogStamp(today.addDays(-2) + DateTime::fromTime(12, 0)) + "\r\n");
    const auto absolute = run({"list", "--app-dir", dir().string()});
    const auto relative = run({"list", "--app-dir", dir().filename().string()}, dir().parent_path().string());
    const auto withDue = run({"list", "--due", "--app-dir", dir().string()});
    if (Today() != today)
        GTEST_SKIP() << "midnight passed while listing";
    const std::map<std::string, std::pair<std::string, std::string>> lineOf = {
        {"Never.tsk", {"Never\tNov-30-2026\tDec-31-9999\t07:05\t3\t", "\t-\t-"}},
        {"Everyday.tsk", {"Every day\tNov-30-2026\t" + formatDate(today.addDays(1)) + "\t00:00\t3\t", "\tdue\t" + formatDate(today) + " 00:00"}},
        {"Sparse.tsk", {"Sparse\t" + formatDate(today) + "\tDec-31-9999\t00:00\t1\t", "\t-\t-"}},
        {"Empty", {"*ERROR*\t" + formatDate(today) + "\tDec-31-9999\t00:00\t1\t", "\t-\t-"}}};
    // clang-format on
    std::string expected, expectedWithDue;
    for (const std::string& file : listJobFiles(jobsDir())) {
        const auto& [line, due] = lineOf.at(std::filesystem::path(file).filename().string());
        expected += line + file + "\n";
        expectedWithDue += line + file + due + "\n";
    }
    EXPECT_EQ(absolute, std::tuple(0, expected, ""));
    EXPECT_EQ(relative, absolute);
    EXPECT_EQ(withDue, std::tuple(0, expectedWithDue, ""));
}

// A job file the reader rejects is left out with one non-fatal error-log entry naming it; the
// other jobs are listed.
TEST_F(QuorvexctlTest, RejectedJobFileIsLeftOutWithAnErrorLogEntryAndTheOthersListed)
{
    writeFile(jobsDir() + "Bad.tsk", "[Schedule]\r\nDateLastRun=Someday\r\n");
    writeFile(jobsDir() + "Huge.tsk", "[General]\r\nJobType=99999\r\n");
    writeFile(jobsDir() + "Good.tsk", "[General]\r\nJobName=Good\r\n");
    const auto [status, out, err] = run({"list", "--app-dir", dir().string()});
    EXPECT_EQ(std::tuple(status, err), std::tuple(0, ""));
    EXPECT_TRUE(out.starts_with("Good\t")) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
    expectInErrorLog({jobsDir() + "Bad.tsk", jobsDir() + "Huge.tsk",
                      "ERR#13 @ Quorvex - Type mismatch", "ERR#6 @ Quorvex - Overflow",
                      "Severity:    Non-Fatal"});
    EXPECT_EQ(readFile(path("quorvex.err")).find("Severity:    Fatal"), std::string::npos);
}

// A fatal report whose error log cannot be written still tells the user and ends the program
// with its own status, not an abort.
TEST_F(QuorvexctlTest, UnwritableErrorLogStillEndsAFatalReportWithStatusOne)
{
    std::filesystem::create_directory(path("quorvex.err"));
    writeFile(path("Quorvex.ini"), "[Preferences]\r\nNumberCopies=99999\r\n");
    const auto [status, out, err] = run({"run", "Any", "--app-dir", dir().string()});
    EXPECT_EQ(status, 1);
    EXPECT_NE(err.find("Fatal Application Error: ERR#6 @ Quorvex - Overflow"), std::string::npos)
        << err;
}

TEST_F(QuorvexctlTest, UnknownArgumentsGiveTheUsageAndStatusTwo)
{
    const std::string usage = "usage: quorvexctl list [--due] [--app-dir DIR]\n"
                              "       quorvexctl run NAME... [--app-dir DIR]\n"
                              "       quorvexctl due [--app-dir DIR]\n"
                              "       quorvexctl paths [--app-dir DIR]\n";
    // clang-format off
    for (const auto& args : std::vector<std::vector<std::string>>{{}, {"lst"}, {"list", "--verbose"}, {"list", "--app-dir"},
             {"list", "--app-dir", ""}, {"list", dir().string()}, {"run"}, {"run", "--app-dir", dir().string()},
             {"due", "now"}, {"paths", "--app-dir"}}) {
        // clang-format on
        SCOPED_TRACE(::testing::PrintToString(args));
        EXPECT_EQ(run(args), std::tuple(2, "", usage));
    }
    EXPECT_FALSE(std::filesystem::exists(path("quorvex.err")));
}

} // namespace
} // namespace quorvex

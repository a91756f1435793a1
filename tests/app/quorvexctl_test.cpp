#include "run_quorvexctl.hpp"

#include "fakes/test_environment.hpp"
#include "fakes/text_lines.hpp"
#include "jobs/job_directory.hpp"
#include "support/date_text.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace quorvex {
namespace {

using test::CtlOutcome;

// quorvexctl runs with the real clock, as a user would, and so does the test.
class QuorvexctlTest : public test::AppDirTest {
protected:
    void SetUp() override
    {
        AppDirTest::SetUp();
        setClock(nullptr);
        std::filesystem::create_directory(path("DatabaseJobs"));
    }

    std::string jobsDir() const { return path("DatabaseJobs") + "/"; }
    CtlOutcome list() { return test::runQuorvexctl({"list", "--app-dir", dir().string()}, dir()); }
};

TEST_F(QuorvexctlTest, ListsEveryJobFileInStartUpOrderWithItsNextRun)
{
    writeFile(jobsDir() + "Never.tsk",
              "[General]\r\nJobName=Never\r\nJobType=3\r\n[Schedule]\r\n"
              "DateLastRun=Nov-30-2026\r\nStartTime=07:05\r\nFrequency=0\r\n");
    writeFile(jobsDir() + "Everyday.tsk",
              "[General]\r\nJobName=Every day\r\nJobType=3\r\n[Schedule]\r\n"
              "DateLastRun=Nov-30-2026\r\nFrequency=1\r\nDayOfWeek=254\r\n");
    // Keys that are missing get the reader's defaults.
    writeFile(jobsDir() + "Sparse.tsk", "[General]\r\nJobName=Sparse\r\n");
    writeFile(jobsDir() + "Empty", "");

    const DateTime today = Today();
    const CtlOutcome outcome = list();
    const CtlOutcome relative = test::runQuorvexctl(
        {"list", "--app-dir", dir().filename().string()}, dir(), dir().parent_path().string());
    if (Today() != today)
        GTEST_SKIP() << "midnight passed while listing";
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.err, "");
    // Started at 00:00, the daily job's next run is always tomorrow; the default DayOfWeek
    // selects no day, so the hand-edited jobs have no next run.
    const std::map<std::string, std::string> lineOf = {
        {"Never.tsk", "Never\tNov-30-2026\tDec-31-9999\t07:05\t3\t"},
        {"Everyday.tsk",
         "Every day\tNov-30-2026\t" + formatDate(today.addDays(1)) + "\t00:00\t3\t"},
        {"Sparse.tsk", "Sparse\t" + formatDate(today) + "\tDec-31-9999\t00:00\t1\t"},
        {"Empty", "*ERROR*\t" + formatDate(today) + "\tDec-31-9999\t00:00\t1\t"},
    };
    std::string expected;
    for (const std::string& file : listJobFiles(jobsDir()))
        expected += lineOf.at(std::filesystem::path(file).filename().string()) + file + "\n";
    EXPECT_EQ(outcome.out, expected);
    // A relative application directory prints the same full paths.
    EXPECT_EQ(relative.status, 0) << relative.err;
    EXPECT_EQ(relative.out, expected);
}

TEST_F(QuorvexctlTest, RejectedJobFileEndsWithStatusOneAndAnErrorLogEntry)
{
    writeFile(jobsDir() + "Bad.tsk", "[Schedule]\r\nDateLastRun=Someday\r\n");
    const CtlOutcome outcome = list();
    EXPECT_EQ(outcome.status, 1);
    const std::string e = "ERR#13 @ Quorvex - Type mismatch";
    EXPECT_NE(outcome.err.find("Fatal Application Error: " + e), std::string::npos) << outcome.err;

    const std::string log = readFile(path("quorvex.err"));
    const std::vector<std::string> lines = test::linesOf(log);
    // The date is the real clock's: any text after its label.
    ASSERT_GT(lines.size(), 1u) << log;
    ASSERT_GT(lines[1].size(), 13u) << log;
    EXPECT_EQ(lines,
              test::fatalErrorEntry(lines[1].substr(13), e, "CDatabaseJob.cls/OpenDatabaseJob()."));
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), std::count(log.begin(), log.end(), '\r'));
}

TEST_F(QuorvexctlTest, UnknownArgumentsGiveTheUsageAndStatusTwo)
{
    for (const auto& args : std::vector<std::vector<std::string>>{{},
                                                                  {"lst"},
                                                                  {"list", "--verbose"},
                                                                  {"list", "--app-dir"},
                                                                  {"list", "--app-dir", ""},
                                                                  {"list", dir().string()}}) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const CtlOutcome outcome = test::runQuorvexctl(args, dir());
        EXPECT_EQ(outcome.status, 2);
        EXPECT_TRUE(outcome.err.starts_with("usage: quorvexctl list [--app-dir DIR]"))
            << outcome.err;
        EXPECT_EQ(outcome.out, "");
    }
    EXPECT_FALSE(std::filesystem::exists(path("quorvex.err")));
}

} // namespace
} // namespace quorvex

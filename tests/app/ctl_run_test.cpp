#include "ctl_run_test.hpp"

#include "platform/single_instance.hpp"

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;

// Two older copies, as the preferences say, not the job's five; the job files, their last run
// included, are left alone.
TEST_F(CtlRunTest, RunsTheNamedJobsInTheOrderGivenWithThePreferencesCopyLimit)
{
    writeFile(path("Quorvex.ini"), "[Preferences]\r\nNumberCopies=2\r\n");
    addJob("First", "Sales.mdb");
    addJob("Second", "System.mdw");
    const std::string jobFile = readFile(path("DatabaseJobs/First.tsk"));
    for (const std::string name : {"Sales.mdb", "Sales_1.mdb", "Sales_2.mdb", "Sales_3.mdb"})
        putFile(target() / name, name);
    EXPECT_EQ(quorvexctl({"run", "Second", "First"}), 0) << m_err;
    EXPECT_NE(m_err.find("Executing Second...\nBacking Up   "), std::string::npos) << m_err;
    // clang-format off
    EXPECT_EQ(logMessages(), (std::vector<std::string>{"-- Second " + std::string(54, '-'), "Backing Up   " + path("data/System.mdw"),
                                                       "-- First " + std::string(55, '-'), "Backing Up   " + path("data/Sales.mdb")}));
    EXPECT_EQ(targetFiles(), (Files{{"Sales.mdb", "new"}, {"Sales_1.mdb", "Sales.mdb"}, {"Sales_2.mdb", "Sales_1.mdb"},
                                    {"Sales_3.mdb", "Sales_3.mdb"}, {"System.mdw", "workgroup"}}));
    // clang-format on
    EXPECT_EQ(readFile(path("DatabaseJobs/First.tsk")), jobFile);
}

// An unknown name stops everything before any job runs; a failed job gives status one after
// the other jobs ran.
TEST_F(CtlRunTest, FailedJobGivesStatusOneAfterEveryJobRanAndAnUnknownNameTwoBeforeAnyRuns)
{
    addJob("Broken", "Missing.mdb");
    addJob("Fine", "Sales.mdb");
    EXPECT_EQ(quorvexctl({"run", "Fine", "Nobody"}), 2);
    EXPECT_NE(m_err.find("Nobody"), std::string::npos) << m_err;
    EXPECT_TRUE(targetFiles().empty());
    EXPECT_FALSE(fs::exists(path("quorvex.log")));
    EXPECT_EQ(quorvexctl({"run", "Broken", "Fine"}), 1) << m_err;
    EXPECT_EQ(logMessages().at(1), "Backing Up   " + path("data/Missing.mdb"));
    EXPECT_EQ(targetFiles(), (Files{{"Sales.mdb", "new"}}));
}

// quorvexctl runs on the real clock. The previous check was two days ago: since then the daily
// job came due (more than once, and runs once), the weekly one, set to the weekday three days
// ahead, did not.
TEST_F(CtlRunTest, DueRunsOnceWhatCameDueSinceThePreviousCheckWithItsLastRunSavedFirst)
{
    const DateTime now = Now();
    const int later = 1 << now.addDays(3).weekday();
    addJob(
        "Daily", "Sales.mdb",
        "Compress=0\r\n[Schedule]\r\nDateLastRun=Nov-01-2026\r\nFrequency=1\r\nDayOfWeek=254\r\n");
    addJob("Weekly", "System.mdw",
           "Compress=0\r\n[Schedule]\r\nDateLastRun=Nov-01-2026\r\nFrequency=2\r\nDayOfWeek=" +
               std::to_string(later) + "\r\n");
    const std::string weekly = readFile(path("DatabaseJobs/Weekly.tsk"));
    checkedAt(now.addDays(-2));
    EXPECT_EQ(quorvexctl({"due"}), 0) << m_err;
    const std::vector<std::string> ran = {"-- Daily " + std::string(55, '-'),
                                          "Backing Up   " + path("data/Sales.mdb")};
    EXPECT_EQ(logMessages(), ran);
    EXPECT_NE(readFile(path("DatabaseJobs/Daily.tsk"))
                  .find("DateLastRun=" + formatDate(Today()) + "\r\n"),
              std::string::npos);
    EXPECT_EQ(readFile(path("DatabaseJobs/Weekly.tsk")), weekly);
    EXPECT_EQ(targetFiles(), (Files{{"Sales.mdb", "new"}}));
    // The next check, a moment later, finds nothing due.
    EXPECT_EQ(quorvexctl({"due"}), 0) << m_err;
    EXPECT_EQ(logMessages(), ran);
}

// The first check only notes its moment, as an agent just started runs nothing at once; a
// check while the agent holds the lock runs nothing and notes nothing.
TEST_F(CtlRunTest, DueRunsNothingOnTheFirstCheckNorBesideTheAgent)
{
    addJob("Daily", "Sales.mdb", "Compress=0\r\n[Schedule]\r\nFrequency=1\r\nDayOfWeek=254\r\n");
    EXPECT_EQ(quorvexctl({"due"}), 0) << m_err;
    EXPECT_NE(readFile(path("DueCheck.ini")).find("LastCheck="), std::string::npos);
    checkedAt(Now().addDays(-2));
    const std::string state = readFile(path("DueCheck.ini"));
    {
        const SingleInstance agent(dir().string(), "quorvex.lock");
        EXPECT_EQ(quorvexctl({"due"}), 3);
    }
    EXPECT_EQ(m_err, "quorvexctl: the Quorvex agent runs on " + dir().string() +
                         " and runs its due jobs itself\n");
    EXPECT_EQ(readFile(path("DueCheck.ini")), state);
    EXPECT_FALSE(fs::exists(path("quorvex.log")));
    EXPECT_TRUE(targetFiles().empty());
}

} // namespace
} // namespace quorvex::test

#include "ctl_test.hpp"

#include "app/ctl_due.hpp"
#include "app/ctl_list.hpp"
#include "app/ctl_run.hpp"
#include "jobs/job_directory.hpp"
#include "platform/single_instance.hpp"

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;
using namespace ctl;

// One line a job file, in start-up order. The default DayOfWeek selects no day, so the
// hand-edited jobs have no next run; missing keys get the reader's defaults. A job file the
// reader rejects is left out with one non-fatal error-log entry naming it. A relative data
// folder prints the same full paths. With --due, two more fields: whether the next due check
// runs the job ("due" after a check two days ago that saw its run of Dec 4 ahead), and the run
// missed since its last one.
TEST_F(CtlTest, ListShowsEveryJobFileInStartUpOrderWithItsNextRunAndWhatIsDue)
{
    const std::string jobs = path("DatabaseJobs") + kPathSeparator;
    const std::string schedule = "JobType=3\r\n[Schedule]\r\nDateLastRun=Nov-30-2026\r\n";
    writeFile(jobs + "Never.tsk", "[General]\r\nJobName=Never\r\n" + schedule +
                                      "StartTime=07:05\r\nFrequency=0\r\n");
    writeFile(jobs + "Everyday.tsk", "[General]\r\nJobName=Every day\r\n" + schedule +
                                         "Frequency=1\r\nDayOfWeek=254\r\n");
    writeFile(jobs + "Sparse.tsk", "[General]\r\nJobName=Sparse\r\n");
    writeFile(jobs + "Empty", "");
    writeFile(jobs + "Bad.tsk", "[Schedule]\r\nDateLastRun=Someday\r\n");
    writeFile(jobs + "Huge.tsk", "[General]\r\nJobType=99999\r\n");
    checkedAt(at(2026, 12, 3, 12));
    const std::map<std::string, std::pair<std::string, std::string>> lineOf = {
        {"Never.tsk", {"Never\tNov-30-2026\tDec-31-9999\t07:05\t3\t", "\t-\t-"}},
        {"Everyday.tsk", {"Every day\tNov-30-2026\tDec-06-2026\t00:00\t3\t", "\tdue\tDec-05-2026 00:00"}},
        {"Sparse.tsk", {"Sparse\tDec-05-2026\tDec-31-9999\t00:00\t1\t", "\t-\t-"}},
        {"Empty", {"*ERROR*\tDec-05-2026\tDec-31-9999\t00:00\t1\t", "\t-\t-"}}};
    std::string expected, expectedWithDue;
    for (const std::string& file : listJobFiles(jobs))
        if (const auto line = lineOf.find(fs::path(file).filename().string()); line != lineOf.end()) {
            expected += line->second.first + file + "\n";
            expectedWithDue += line->second.first + file + line->second.second + "\n";
        }
    EXPECT_EQ(ctl(listCommand, {}), 0);
    EXPECT_EQ(std::pair(m_out, m_err), std::pair(expected, std::string()));
    expectInErrorLog({jobs + "Bad.tsk", jobs + "Huge.tsk", "ERR#13 @ Quorvex - Type mismatch",
                      "ERR#6 @ Quorvex - Overflow", "Severity:    Non-Fatal"});
    EXPECT_EQ(readFile(path("quorvex.err")).find("Severity:    Fatal"), std::string::npos);
    const fs::path started = fs::current_path();
    fs::current_path(dir().parent_path());
    EXPECT_EQ(ctl(listCommand, {}, dir().filename().string()), 0);
    fs::current_path(started);
    EXPECT_EQ(m_out, expected);
    EXPECT_EQ(ctl(listCommand, {"--due"}), 0);
    EXPECT_EQ(m_out, expectedWithDue);
}

// The named jobs run in the order given, keeping the two older copies of the preferences, not
// the job's five, rotating past a read-only copy, and each copy checked. The job files, their
// last run included, are left alone. An unknown name stops everything before any job runs; a
// failed job gives status one after the other jobs ran.
TEST_F(CtlTest, RunRunsTheNamedJobsInTheGivenOrderWithThePreferencesCopyLimit)
{
    writeFile(path("Quorvex.ini"), "[Preferences]\r\nNumberCopies=2\r\nVerifyBackups=-1\r\n");
    addJob("Plain", "Sales.mdb");
    addJob("Zipped", "System.mdw", "Compress=-1\r\n");
    addJob("Broken", "Missing.mdb");
    const std::string jobFile = readFile(path("DatabaseJobs/Plain.tsk"));
    for (const std::string copy :
         {"Sales.mdb", "Sales_1.mdb", "Sales_2.mdb", "Sales_3.mdb", "System.zip", "System_1.zip"})
        putFile(target() / copy, copy);
    fs::permissions(target() / "Sales_2.mdb", fs::perms::owner_read);
    EXPECT_EQ(ctl(runCommand, {"Plain", "Nobody"}), 2);
    EXPECT_EQ(m_err, "quorvexctl: no job named 'Nobody'\n");
    EXPECT_FALSE(fs::exists(transactionLogPath()));

    EXPECT_EQ(ctl(runCommand, {"Zipped", "Plain"}), 0) << m_err;
    EXPECT_NE(m_err.find("Executing Zipped...\nZipping Up   "), std::string::npos) << m_err;
    const std::string copies = target().string() + kPathSeparator;
    EXPECT_EQ(logMessages(), (std::vector<std::string>{
                                 runHeader("Zipped"), "Zipping Up   " + path("data/System.mdw"),
                                 "Verified     " + copies + "System.zip", runHeader("Plain"),
                                 "Backing Up   " + path("data/Sales.mdb"),
                                 "Verified     " + copies + "Sales.mdb"}));
    Files files = targetFiles();
    EXPECT_TRUE(files["System.zip"].starts_with("PK"));
    files["System.zip"] = "zip";
    EXPECT_EQ(files, (Files{{"Sales.mdb", "new"},
                            {"Sales_1.mdb", "Sales.mdb"},
                            {"Sales_2.mdb", "Sales_1.mdb"},
                            {"Sales_3.mdb", "Sales_3.mdb"},
                            {"System.zip", "zip"},
                            {"System_1.zip", "System.zip"},
                            {"System_2.zip", "System_1.zip"}}));
    EXPECT_EQ(readFile(path("DatabaseJobs/Plain.tsk")), jobFile);

    EXPECT_EQ(ctl(runCommand, {"Broken", "Plain"}), 1);
    const std::vector<std::string> log = logMessages();
    EXPECT_EQ(log.at(7), "Backing Up   " + path("data/Missing.mdb"));
    EXPECT_EQ(log.back(), "Verified     " + copies + "Sales.mdb");
}

// The first check only notes its moment, as an agent just started runs nothing at once. The
// previous check was two days ago: since then the daily job came due (more than once, and runs
// once, with its last run saved first), the weekly one, set to Tuesday, did not. The next
// check finds nothing due; a check while the agent holds the lock runs and notes nothing.
TEST_F(CtlTest, DueRunsOnceWhatCameDueSinceThePreviousCheckAndNothingBesideTheAgent)
{
    const std::string schedule = "Compress=0\r\n[Schedule]\r\nDateLastRun=Nov-01-2026\r\n";
    addJob("Daily", "Sales.mdb", schedule + "Frequency=1\r\nDayOfWeek=254\r\n");
    addJob("Weekly", "System.mdw", schedule + "Frequency=2\r\nDayOfWeek=8\r\n");
    const std::string weekly = readFile(path("DatabaseJobs/Weekly.tsk"));
    EXPECT_EQ(ctl(dueCommand, {}), 0) << m_err;
    EXPECT_NE(readFile(path("DueCheck.ini")).find("LastCheck=12/05/2026 10:00:00"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(transactionLogPath()));

    checkedAt(at(2026, 12, 3, 10));
    EXPECT_EQ(ctl(dueCommand, {}), 0) << m_err;
    const std::vector<std::string> ran = {runHeader("Daily"),
                                          "Backing Up   " + path("data/Sales.mdb")};
    EXPECT_EQ(logMessages(), ran);
    EXPECT_NE(readFile(path("DatabaseJobs/Daily.tsk")).find("DateLastRun=Dec-05-2026\r\n"),
              std::string::npos);
    EXPECT_EQ(readFile(path("DatabaseJobs/Weekly.tsk")), weekly);
    EXPECT_EQ(targetFiles(), (Files{{"Sales.mdb", "new"}}));
    m_clock.advanceSeconds(60);
    EXPECT_EQ(ctl(dueCommand, {}), 0) << m_err;
    EXPECT_EQ(logMessages(), ran);

    checkedAt(at(2026, 12, 3, 10));
    const std::string state = readFile(path("DueCheck.ini"));
    const SingleInstance agent(dir().string(), "quorvex.lock");
    EXPECT_EQ(ctl(dueCommand, {}), kAgentRunsStatus);
    EXPECT_EQ(m_err, "quorvexctl: the Quorvex agent runs on " + dir().string() +
                         " and runs its due jobs itself\n");
    EXPECT_EQ(readFile(path("DueCheck.ini")), state);
    EXPECT_EQ(logMessages(), ran);
}

} // namespace
} // namespace quorvex::test

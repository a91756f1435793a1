#include "execution_test.hpp"

#include "app/ctl_due.hpp"
#include "app/ctl_list.hpp"
#include "app/ctl_run.hpp"
#include "platform/paths.hpp"
#include "platform/single_instance.hpp"

#include <map>
#include <span>
#include <thread>

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;
using namespace ctl;

using Files = std::map<std::string, std::string>;

// The quorvexctl commands called in process on backup jobs of a database large enough for two
// runs to overlap, in a temporary data folder, on the fixed clock (Saturday, Dec 5 2026,
// 10:00). The test program lies in the program folder, so the backups start the zip beside the
// programs.
class CtlTest : public ExecutionTest {
protected:
    void SetUp() override
    {
        ExecutionTest::SetUp();
        putFile(path("data/Sales.mdb"), m_database);
        fs::create_directories(target());
    }

    fs::path target() const { return dir() / "backup"; }
    // Every file of the target folder with its content, "new" for a copy of the database and
    // "zip" for an archive.
    Files targetFiles() const
    {
        Files files;
        for (const auto& entry : fs::directory_iterator(target())) {
            const std::string content = readFile(entry.path());
            files[entry.path().filename().string()] = content == m_database       ? "new"
                                                      : content.starts_with("PK") ? "zip"
                                                                                  : content;
        }
        return files;
    }
    // A backup job of a file of the data folder into the target, keeping five older copies.
    void addJob(const std::string& name, const std::string& more = "Compress=0\r\n",
                const std::string& source = "Sales.mdb")
    {
        putFile(path("DatabaseJobs/" + name + ".tsk"),
                "[General]\r\nJobName=" + name + "\r\nJobType=3\r\n[Backup]\r\nDatabaseFile=" +
                    path("data/" + source) + "\r\nTargetPath=" + target().string() +
                    kPathSeparator + "\r\nNumberCopies=5\r\n" + more);
    }
    // The command on our data folder (unless the arguments name another one): its exit
    // status, also after a fatal report; what it printed is kept in m_out and m_err.
    int ctl(int (*command)(std::span<char* const>), std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--app-dir", dir().string()});
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        int status = 1; // a fatal report ends quorvexctl with status 1
        try {
            status = command(argv);
        } catch (const FatalExitCalled&) {
        }
        m_out = ::testing::internal::GetCapturedStdout();
        m_err = ::testing::internal::GetCapturedStderr();
        return status;
    }

    const std::string m_database = std::string(8 << 20, 'n');
    std::string m_out;
    std::string m_err;
};

// A job file the reader rejects is left out of the list and of the due checks, with a
// non-fatal error-log entry naming it; a relative data folder prints the same full paths. The first
// due check only notes its moment, as an agent just started runs nothing at once. After a check two
// days ago, the list with --due shows that the next check runs the daily job, and its run missed
// since its last one. That check runs it once (it came due more than once), its last run saved
// first, and not the weekly job, set to Tuesday. The list then shows the last run saved and nothing
// due; a check while the agent holds the lock runs and notes nothing.
TEST_F(CtlTest, ListShowsTheJobsAndWhatIsDueAndDueRunsThatOnceUnlessTheAgentRuns)
{
    const std::string schedule = "Compress=0\r\n[Schedule]\r\nDateLastRun=Nov-01-2026\r\n";
    addJob("Daily", schedule + "Frequency=1\r\nDayOfWeek=254\r\n");
    const std::string jobs = path("DatabaseJobs") + kPathSeparator;
    putFile(jobs + "Bad.tsk", "[Schedule]\r\nDateLastRun=Someday\r\n");
    putFile(jobs + "Huge.tsk", "[General]\r\nJobType=99999\r\n");
    const std::string daily = "Daily\tNov-01-2026\tDec-06-2026\t00:00\t3\t" + jobs + "Daily.tsk";
    EXPECT_EQ(ctl(listCommand, {}), 0);
    EXPECT_EQ(m_out + m_err, daily + "\n");
    expectInErrorLog({jobs + "Bad.tsk", jobs + "Huge.tsk", "Severity:    Non-Fatal"});
    fs::current_path(dir());
    EXPECT_EQ(ctl(listCommand, {"--app-dir", "."}), 0);
    fs::current_path(dir().parent_path());
    EXPECT_EQ(m_out, daily + "\n");

    EXPECT_EQ(ctl(dueCommand, {}), 0) << m_err;
    EXPECT_NE(readFile(path("DueCheck.ini")).find("LastCheck=12/05/2026 10:00:00"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(transactionLogPath()));
    const std::string twoDaysAgo = "[DueCheck]\r\nLastCheck=12/03/2026 10:00:00\r\n";
    writeFile(path("DueCheck.ini"), twoDaysAgo);
    EXPECT_EQ(ctl(listCommand, {"--due"}), 0);
    EXPECT_EQ(m_out, daily + "\tdue\tDec-05-2026 00:00\n");
    addJob("Weekly", schedule + "Frequency=2\r\nDayOfWeek=8\r\n");
    const std::string weekly = readFile(jobs + "Weekly.tsk");
    EXPECT_EQ(ctl(dueCommand, {}), 0) << m_err;
    const std::vector<std::string> ran = {"-- Daily " + std::string(55, '-'),
                                          "Backing Up   " + path("data/Sales.mdb")};
    EXPECT_EQ(logMessages(), ran);
    EXPECT_EQ(readFile(jobs + "Weekly.tsk"), weekly);
    EXPECT_EQ(targetFiles(), (Files{{"Sales.mdb", "new"}}));
    m_clock.advanceSeconds(60);
    EXPECT_EQ(ctl(dueCommand, {}), 0) << m_err;
    EXPECT_EQ(ctl(listCommand, {"--due"}), 0);
    EXPECT_NE(
        m_out.find("Daily\tDec-05-2026\tDec-06-2026\t00:00\t3\t" + jobs + "Daily.tsk\t-\t-\n"),
        std::string::npos)
        << m_out;
    writeFile(path("DueCheck.ini"), twoDaysAgo);
    const SingleInstance agent(dir().string(), "quorvex.lock");
    EXPECT_EQ(ctl(dueCommand, {}), kAgentRunsStatus);
    EXPECT_EQ(m_err, "quorvexctl: the Quorvex agent runs on " + dir().string() +
                         " and runs its due jobs itself\n");
    EXPECT_EQ(readFile(path("DueCheck.ini")), twoDaysAgo);
    EXPECT_EQ(logMessages(), ran);
}

// The named jobs run in the order given, keeping the preferences' two older copies, not the
// job's five, rotating past a read-only copy, and each copy checked; the job files, their last
// run included, are left alone. An unknown name stops everything before any job runs; a failed
// job gives status one after the other jobs ran. Two runs of one job at once, as from
// quorvexctl beside the agent, take turns on the target: the copies are exactly those of two
// runs one after the other. Repeated, since without the target's lock the outcome would depend
// on how the two happen to interleave.
TEST_F(CtlTest, RunRunsTheNamedJobsInTheGivenOrderAndTwoRunsAtOnceTakeTurns)
{
    writeFile(path("Quorvex.ini"), "[Preferences]\r\nNumberCopies=2\r\nVerifyBackups=-1\r\n");
    addJob("Plain");
    addJob("Zipped", "Compress=-1\r\n");
    addJob("Broken", "Compress=0\r\n", "Missing.mdb");
    const std::string jobFile = readFile(path("DatabaseJobs/Plain.tsk"));
    for (const std::string copy :
         {"Sales.mdb", "Sales_1.mdb", "Sales_2.mdb", "Sales_3.mdb", "Sales.zip", "Sales_1.zip"})
        putFile(target() / copy, copy);
    fs::permissions(target() / "Sales_2.mdb", fs::perms::owner_read);
    EXPECT_EQ(ctl(runCommand, {"Plain", "Nobody"}), 2);
    EXPECT_EQ(m_err, "quorvexctl: no job named 'Nobody'\n");
    EXPECT_FALSE(fs::exists(transactionLogPath()));

    EXPECT_EQ(ctl(runCommand, {"Zipped", "Plain"}), 0) << m_err;
    EXPECT_NE(m_err.find("Executing Zipped...\nZipping Up   "), std::string::npos) << m_err;
    const std::string copies = target().string() + kPathSeparator;
    EXPECT_EQ(logMessages(), (std::vector<std::string>{"-- Zipped " + std::string(54, '-'),
                                                       "Zipping Up   " + path("data/Sales.mdb"),
                                                       "Verified     " + copies + "Sales.zip",
                                                       "-- Plain " + std::string(55, '-'),
                                                       "Backing Up   " + path("data/Sales.mdb"),
                                                       "Verified     " + copies + "Sales.mdb"}));
    EXPECT_EQ(targetFiles(), (Files{{"Sales.mdb", "new"},
                                    {"Sales_1.mdb", "Sales.mdb"},
                                    {"Sales_2.mdb", "Sales_1.mdb"},
                                    {"Sales_3.mdb", "Sales_3.mdb"},
                                    {"Sales.zip", "zip"},
                                    {"Sales_1.zip", "Sales.zip"},
                                    {"Sales_2.zip", "Sales_1.zip"}}));
    EXPECT_EQ(readFile(path("DatabaseJobs/Plain.tsk")), jobFile);
    EXPECT_EQ(ctl(runCommand, {"Broken", "Plain"}), 1);
    EXPECT_EQ(logMessages().at(7), "Backing Up   " + path("data/Missing.mdb"));
    EXPECT_EQ(logMessages().back(), "Verified     " + copies + "Sales.mdb");

    for (const std::string job : {"Plain", "Plain", "Zipped", "Zipped"}) {
        SCOPED_TRACE(job);
        const std::string extension = job == "Plain" ? ".mdb" : ".zip";
        fs::remove_all(target());
        for (const std::string copy : {"Sales", "Sales_1", "Sales_4"})
            putFile(target() / (copy + extension), copy);
        const std::vector<std::string> file = {path("DatabaseJobs/" + job + ".tsk")};
        int secondStatus = -1;
        std::thread second([&] { secondStatus = executeJobFiles(file); });
        EXPECT_EQ(executeJobFiles(file), 0);
        second.join();
        EXPECT_EQ(secondStatus, 0);
        const std::string copy = job == "Plain" ? "new" : "zip";
        EXPECT_EQ(targetFiles(), (Files{{"Sales" + extension, copy},
                                        {"Sales_1" + extension, copy},
                                        {"Sales_2" + extension, "Sales"},
                                        {"Sales_4" + extension, "Sales_4"}}));
    }
}

} // namespace
} // namespace quorvex::test

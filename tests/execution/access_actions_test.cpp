#include "execution/access.hpp"
#include "execution/execute_job.hpp"

#include "access_job_test.hpp"
#include "execution_test.hpp"
#include "fakes/scoped_env.hpp"
#include "support/transaction_log.hpp"

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

const auto* const g_associations = ::testing::AddGlobalTestEnvironment(new AccessAssociations(true));

// A job named "Orders" whose repair and compact and auto execute both name data/Orders.mdb,
// with the probe file in place.
class AccessActionsTest : public ExecutionTest {
protected:
    void SetUp() override
    {
        ExecutionTest::SetUp();
        installFromBuild("TestForAccess.mdb");
        m_mdb = path("data/Orders.mdb");
        putFile(m_mdb, "database");
        m_job.setJobName("Orders");
        m_job.setRepairCompactMDB(m_mdb);
        m_job.setAutoExecuteMDB(m_mdb);
    }
    int16_t run(int16_t type)
    {
        m_job.setJobType(type);
        return ExecuteDatabaseJobNow(m_job, m_display);
    }
    // Runs the job as the type, which must end normally; the log lines of the run after its
    // header.
    Lines logOfRun(int16_t type)
    {
        EXPECT_EQ(run(type), 0);
        EXPECT_FALSE(m_job.Failure());
        const Lines all = logMessages();
        fs::remove(transactionLogPath());
        return {all.begin() + 1, all.end()};
    }
    // The text followed by the database path in single quotes and a full stop.
    std::string aboutMdb(const std::string& text) const { return text + " '" + m_mdb + "'."; }

    std::string m_mdb;
    CDatabaseJob m_job;
};

// Access is found through the probe file; a dot in a folder's name is no extension: the lock
// file of data.d/Plain is data.d/Plain.ldb. Without Access (here: without the probe file)
// repair and compact only logs it; auto execute says so in a box and logs nothing but the
// header.
TEST_F(AccessActionsTest, AccessIsFoundThroughTheProbeFileAndWithoutItNeitherActionStarts)
{
    std::string found = "stale";
    EXPECT_TRUE(CheckForAccess(found));
    EXPECT_EQ(found, accessProgram().string());
    putFile(path("data.d/Plain.ldb"), "");
    EXPECT_FALSE(CheckForExclusive(path("data.d/Plain")));
    fs::remove(path("TestForAccess.mdb"));
    EXPECT_FALSE(CheckForAccess(found));
    EXPECT_EQ(found, "");
    EXPECT_EQ(logOfRun(job_type::RepairCompact), Lines{"Access does not exist on this machine."});
    EXPECT_TRUE(m_desktop.boxes().empty());
    EXPECT_EQ(logOfRun(job_type::AutoExecute), Lines{});
    ASSERT_EQ(m_desktop.boxes().size(), 1u);
    const auto& box = m_desktop.boxes().front();
    EXPECT_EQ(box.text,
              "Access does not exist on this machine.\r\n\r\nOperation has been cancelled.");
    EXPECT_EQ(box.title, "Error");
    EXPECT_EQ(box.style, mb::OkOnly | mb::Exclamation);
    EXPECT_FALSE(fs::exists(m_mdb + ".args"));
}

// Each command line as text, then as the arguments, one per line, the fake Access received;
// an exit code other than 0 is logged after the line that started Access.
TEST_F(AccessActionsTest, CommandLinesReachAccessExactlyAndAFailingExitCodeIsLogged)
{
    const std::string mdw = "/srv/Sec Dir/system.mdw", quoted = "\"/opt/Access\" \"" + m_mdb + "\"";
    // clang-format off
    struct Row { int16_t type; bool security; const char *password, *exitCode; std::string commandLine, arguments; Lines log; };
    const std::vector<Row> rows = {
        {job_type::RepairCompact, false, "", "0", quoted + " /NOSTARTUP /COMPACT ", "/NOSTARTUP\n/COMPACT\n", {aboutMdb("Compacting file")}},
        {job_type::RepairCompact, true, "secret", "3", quoted + " /NOSTARTUP /COMPACT  /USER admin /PWD secret /WRKGRP \"" + mdw + "\"",
         "/NOSTARTUP\n/COMPACT\n/USER\nadmin\n/PWD\nsecret\n/WRKGRP\n" + mdw + "\n",
         {aboutMdb("Compacting file"), aboutMdb("Error #3 - Quorvex was unable to Compact the MDB File")}},
        {job_type::AutoExecute, false, "", "0", quoted, "", {aboutMdb("Auto Executing file")}},
        {job_type::AutoExecute, true, "", "7", quoted + " /USER admin /PWD  /WRKGRP \"" + mdw + "\"", "/USER\nadmin\n/PWD\n/WRKGRP\n" + mdw + "\n",
         {aboutMdb("Auto Executing file"), aboutMdb("Error #7 - Quorvex was unable to Auto Execute MDB File:")}},
        // A password with a blank stays one argument.
        {job_type::AutoExecute, true, "open sesame", "0", quoted + " /USER admin /PWD \"open sesame\" /WRKGRP \"" + mdw + "\"",
         "/USER\nadmin\n/PWD\nopen sesame\n/WRKGRP\n" + mdw + "\n", {aboutMdb("Auto Executing file")}},
    };
    // clang-format on
    m_job.setUserID("admin");
    m_job.setMDWFile(mdw);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.commandLine);
        m_job.setSecurity(row.security);
        m_job.setPassword(row.password);
        const ScopedEnv exitCode("FAKE_ACCESS_EXIT_CODE", row.exitCode);
        const auto commandLine =
            row.type == job_type::RepairCompact ? compactCommandLine : autoExecuteCommandLine;
        EXPECT_EQ(commandLine(m_job, "/opt/Access"), row.commandLine);
        EXPECT_EQ(logOfRun(row.type), row.log);
        EXPECT_EQ(readFile(m_mdb + ".args"), m_mdb + "\n" + row.arguments);
    }
    EXPECT_EQ(m_display.texts.at(2), "Compacting Orders...");
    EXPECT_TRUE(m_desktop.boxes().empty());
}

// A locked or missing database is a log line and Access never starts; the run itself ends
// normally.
TEST_F(AccessActionsTest, LockedOrMissingDatabaseIsLogged)
{
    putFile(path("data/Orders.ldb"), "");
    EXPECT_EQ(logOfRun(job_type::RepairCompact),
              Lines{"The MDB file to Repair and Compact cannot be opened exclusively."});
    fs::remove(path("data/Orders.ldb"));
    fs::remove(m_mdb);
    EXPECT_EQ(logOfRun(job_type::RepairCompact), Lines{"MDB File '" + m_mdb + "' does not exist."});
    EXPECT_EQ(logOfRun(job_type::AutoExecute),
              Lines{"Error #UD2 - MDB File '" + m_mdb + "' does not exist."});
    EXPECT_FALSE(fs::exists(m_mdb + ".args"));
}

// A double quote anywhere in Access's command line would let the rest of the value reach
// Access as switches of its own: the run is refused with its line, and Access never starts.
TEST_F(AccessActionsTest, DoubleQuoteInAnyPartOfTheCommandLineRefusesTheRun)
{
    const Lines refused = {"Quorvex cannot start Access: a double quote in the path of Access, the database or "
                           "the workgroup file, the user ID or the password would change its command line."};
    m_job.setSecurity(true);
    m_job.setMDWFile(path("system.mdw"));
    for (const char* user : {"admin\" /COMPACT \"", "admin"}) {
        m_job.setUserID(user);
        m_job.setPassword(std::string(user) == "admin" ? "pass\"word" : "");
        EXPECT_EQ(logOfRun(job_type::RepairCompact), refused) << user;
        EXPECT_EQ(logOfRun(job_type::AutoExecute), refused) << user;
    }
    m_job.setSecurity(false);
    const std::string quotedMdb = path("data/Or\"ders.mdb");
    putFile(quotedMdb, "database");
    m_job.setAutoExecuteMDB(quotedMdb);
    EXPECT_EQ(logOfRun(job_type::AutoExecute), refused);
    EXPECT_FALSE(fs::exists(m_mdb + ".args"));
    EXPECT_FALSE(fs::exists(quotedMdb + ".args"));
}

// A database whose folder cannot be looked up ends that run with its line and a non-fatal
// error-log entry, as any other failure of these actions; nothing ends the program.
TEST_F(AccessActionsTest, DatabaseBehindALinkThatCannotBeFollowedEndsOnlyTheRun)
{
    fs::create_symlink("loop", path("data/loop"));
    m_job.setRepairCompactMDB(path("data/loop/Orders.mdb"));
    m_job.setAutoExecuteMDB(path("data/loop/Orders.mdb"));
    const std::string error = "Quorvex Run Error #75 - Path/File access error: '";
    EXPECT_EQ(logOfRun(job_type::RepairCompact), Lines{error + path("data/loop/Orders.ldb") + "'."});
    EXPECT_EQ(logOfRun(job_type::AutoExecute), Lines{error + path("data/loop/Orders.mdb") + "'."});
    expectInErrorLog({"CDatabaseJob.cls/ExecuteRepairCompactNow()", "CDatabaseJob.cls/ExecuteAutoExecNow()"});
    EXPECT_TRUE(m_desktop.boxes().empty());
}

} // namespace
} // namespace quorvex::test

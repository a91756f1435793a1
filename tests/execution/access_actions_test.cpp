#include "execution/access.hpp"

#include "support/transaction_log.hpp"

#include "access_job_test.hpp"

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

const auto* const g_associations =
    ::testing::AddGlobalTestEnvironment(new AccessAssociations(true));

class AccessActionsTest : public AccessJobTest {
protected:
    // The arguments the fake Access received, one per line; "" when it never ran.
    std::string accessArguments() const { return readFile(m_mdb + ".args"); }
    // Runs the job as the type, which must end normally; the log lines of the run after its
    // header.
    Lines logOfRun(int16_t type)
    {
        EXPECT_EQ(run(type), 0);
        EXPECT_FALSE(m_job.Failure());
        const auto all = logMessages();
        fs::remove(transactionLogPath());
        return {all.begin() + 1, all.end()};
    }
};

// A dot in a folder's name is no extension: the lock file of data.d/Plain is data.d/Plain.ldb.
TEST_F(AccessActionsTest, AccessIsFoundThroughTheProbeFileAndLockFilesBesideTheDatabase)
{
    std::string found = "stale";
    EXPECT_TRUE(CheckForAccess(found));
    EXPECT_EQ(found, AccessAssociations::accessProgram().string());
    fs::remove(path("TestForAccess.mdb"));
    EXPECT_FALSE(CheckForAccess(found));
    EXPECT_EQ(found, "");
    putFile(path("data.d/Plain.ldb"), "");
    EXPECT_FALSE(CheckForExclusive(path("data.d/Plain")));
}

// Each command line as text, then as the arguments the fake Access received.
TEST_F(AccessActionsTest, CommandLinesReachAccessExactlyWithAndWithoutSecurity)
{
    const std::string mdw = "/srv/Sec Dir/system.mdw";
    const std::string quoted = "\"/opt/Access\" \"" + m_mdb + "\"";
    struct Row {
        int16_t type;
        bool security;
        const char* password;
        std::string commandLine, arguments, logLine;
    };
    const std::vector<Row> rows = {
        {job_type::RepairCompact, false, "", quoted + " /NOSTARTUP /COMPACT ",
         "/NOSTARTUP\n/COMPACT\n", "Compacting file '" + m_mdb + "'."},
        {job_type::RepairCompact, true, "secret",
         quoted + " /NOSTARTUP /COMPACT  /USER admin /PWD secret /WRKGRP \"" + mdw + "\"",
         "/NOSTARTUP\n/COMPACT\n/USER\nadmin\n/PWD\nsecret\n/WRKGRP\n" + mdw + "\n",
         "Compacting file '" + m_mdb + "'."},
        {job_type::AutoExecute, false, "", quoted, "", "Auto Executing file '" + m_mdb + "'."},
        {job_type::AutoExecute, true, "", quoted + " /USER admin /PWD  /WRKGRP \"" + mdw + "\"",
         "/USER\nadmin\n/PWD\n/WRKGRP\n" + mdw + "\n", "Auto Executing file '" + m_mdb + "'."},
    };
    m_job.setUserID("admin");
    m_job.setMDWFile(mdw);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.commandLine);
        m_job.setSecurity(row.security);
        m_job.setPassword(row.password);
        m_job.setJobType(row.type);
        EXPECT_EQ(row.type == job_type::RepairCompact
                      ? compactCommandLine(m_job, "/opt/Access")
                      : autoExecuteCommandLine(m_job, "/opt/Access"),
                  row.commandLine);
        EXPECT_EQ(logOfRun(row.type), Lines{row.logLine});
        EXPECT_EQ(accessArguments(), m_mdb + "\n" + row.arguments);
    }
    EXPECT_EQ(m_display.texts.at(2), "Compacting Orders...");
    EXPECT_TRUE(m_desktop.boxes().empty());
}

// Every expected failure is a log line; the run itself ends normally.
TEST_F(AccessActionsTest, LockedOrMissingDatabaseAndAccessFailingAreLogged)
{
    const std::string unable = " - Quorvex was unable to ";
    putFile(path("data/Orders.ldb"), "");
    EXPECT_EQ(logOfRun(job_type::RepairCompact),
              Lines{"The MDB file to Repair and Compact cannot be opened exclusively."});
    EXPECT_FALSE(fs::exists(m_mdb + ".args"));
    fs::remove(path("data/Orders.ldb"));

    setenv("FAKE_ACCESS_EXIT_CODE", "3", 1);
    EXPECT_EQ(logOfRun(job_type::RepairCompact),
              (Lines{"Compacting file '" + m_mdb + "'.",
                     "Error #3" + unable + "Compact the MDB File '" + m_mdb + "'."}));
    setenv("FAKE_ACCESS_EXIT_CODE", "7", 1);
    EXPECT_EQ(logOfRun(job_type::AutoExecute),
              (Lines{"Auto Executing file '" + m_mdb + "'.",
                     "Error #7" + unable + "Auto Execute MDB File: '" + m_mdb + "'."}));
    unsetenv("FAKE_ACCESS_EXIT_CODE");

    fs::remove(m_mdb);
    EXPECT_EQ(logOfRun(job_type::RepairCompact), Lines{"MDB File '" + m_mdb + "' does not exist."});
    EXPECT_EQ(logOfRun(job_type::AutoExecute),
              Lines{"Error #UD2 - MDB File '" + m_mdb + "' does not exist."});
}

} // namespace
} // namespace quorvex::test

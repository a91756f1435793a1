#include "execution/access.hpp"

#include "support/transaction_log.hpp"

#include "access_job_test.hpp"

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;

const auto* const g_associations =
    ::testing::AddGlobalTestEnvironment(new AccessAssociations(true));

class AccessActionsTest : public AccessJobTest {
protected:
    // The arguments the fake Access received, one per line; "" when it never ran.
    std::string accessArguments() const { return readFile(m_mdb + ".args"); }
    // The log lines of the last run, after its header.
    std::vector<std::string> lastRunLog() const
    {
        const auto all = logMessages();
        fs::remove(transactionLogPath());
        return {all.begin() + 1, all.end()};
    }
};

TEST_F(AccessActionsTest, AccessIsFoundThroughTheProbeFileAndLockFilesBesideTheDatabase)
{
    std::string found = "stale";
    EXPECT_TRUE(CheckForAccess(found));
    EXPECT_EQ(found, AccessAssociations::accessProgram().string());
    fs::remove(path("TestForAccess.mdb"));
    EXPECT_FALSE(CheckForAccess(found));
    EXPECT_EQ(found, "");

    EXPECT_TRUE(CheckForExclusive(m_mdb));
    putFile(path("data/Orders.ldb"), "");
    EXPECT_FALSE(CheckForExclusive(m_mdb));
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
        EXPECT_EQ(run(row.type), 0);
        EXPECT_FALSE(m_job.Failure());
        EXPECT_EQ(accessArguments(), m_mdb + "\n" + row.arguments);
        EXPECT_EQ(lastRunLog(), std::vector<std::string>{row.logLine});
    }
    EXPECT_EQ(m_display.texts.at(2), "Compacting Orders...");
    EXPECT_TRUE(m_desktop.boxes().empty());
}

// Every expected failure is a log line; the run itself ends normally.
TEST_F(AccessActionsTest, LockedOrMissingDatabaseAndAccessFailingAreLogged)
{
    const std::string compactError = "Error #3 - Quorvex was unable to Compact the MDB File '";
    putFile(path("data/Orders.ldb"), "");
    EXPECT_EQ(run(job_type::RepairCompact), 0);
    EXPECT_EQ(lastRunLog(),
              std::vector<std::string>{
                  "The MDB file to Repair and Compact cannot be opened exclusively."});
    EXPECT_FALSE(fs::exists(m_mdb + ".args"));
    fs::remove(path("data/Orders.ldb"));

    setenv("FAKE_ACCESS_EXIT_CODE", "3", 1);
    EXPECT_EQ(run(job_type::RepairCompact), 0);
    EXPECT_EQ(lastRunLog(), (std::vector<std::string>{"Compacting file '" + m_mdb + "'.",
                                                      compactError + m_mdb + "'."}));
    setenv("FAKE_ACCESS_EXIT_CODE", "7", 1);
    EXPECT_EQ(run(job_type::AutoExecute), 0);
    EXPECT_FALSE(m_job.Failure());
    EXPECT_EQ(lastRunLog(),
              (std::vector<std::string>{
                  "Auto Executing file '" + m_mdb + "'.",
                  "Error #7 - Quorvex was unable to Auto Execute MDB File: '" + m_mdb + "'."}));

    fs::remove(m_mdb);
    EXPECT_EQ(run(job_type::RepairCompact), 0);
    EXPECT_EQ(lastRunLog(), std::vector<std::string>{"MDB File '" + m_mdb + "' does not exist."});
    EXPECT_EQ(run(job_type::AutoExecute), 0);
    EXPECT_EQ(lastRunLog(),
              std::vector<std::string>{"Error #UD2 - MDB File '" + m_mdb + "' does not exist."});
}

} // namespace
} // namespace quorvex::test

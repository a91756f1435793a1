#include "execution/access.hpp"
#include "execution/execute_job.hpp"

#include "access_associations.hpp"
#include "execution_test.hpp"

#include <cstdlib>

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;

const auto* const g_associations =
    ::testing::AddGlobalTestEnvironment(new AccessAssociations(true));

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
    void TearDown() override
    {
        unsetenv("FAKE_ACCESS_EXIT_CODE");
        ExecutionTest::TearDown();
    }

    void useSecurity()
    {
        m_job.setSecurity(true);
        m_job.setUserID("admin");
        m_job.setPassword("");
        m_job.setMDWFile("/srv/Sec Dir/system.mdw");
    }
    int16_t run(int16_t type)
    {
        m_job.setJobType(type);
        return ExecuteDatabaseJobNow(m_job, m_display);
    }
    // The arguments the fake Access received, one per line.
    std::string accessArguments() const { return readFile(m_mdb + ".args"); }
    bool accessRan() const { return fs::exists(m_mdb + ".args"); }
    std::string access() const { return AccessAssociations::accessProgram().string(); }
    std::vector<std::string> logAfterHeader() const
    {
        const auto all = logMessages();
        return {all.begin() + 1, all.end()};
    }

    std::string m_mdb;
    CDatabaseJob m_job;
};

TEST_F(AccessActionsTest, CheckForAccessNamesTheProgramRegisteredForTheProbeFile)
{
    std::string found = "stale";
    EXPECT_TRUE(CheckForAccess(found));
    EXPECT_EQ(found, access());
}

TEST_F(AccessActionsTest, CheckForAccessWithoutTheProbeFileFindsNothing)
{
    fs::remove(path("TestForAccess.mdb"));
    std::string found = "stale";
    EXPECT_FALSE(CheckForAccess(found));
    EXPECT_EQ(found, "");
}

TEST_F(AccessActionsTest, CheckForExclusiveLooksForTheLockFileBesideTheDatabase)
{
    EXPECT_TRUE(CheckForExclusive(m_mdb));
    putFile(path("data/Orders.ldb"), "");
    EXPECT_FALSE(CheckForExclusive(m_mdb));
    putFile(path("data.d/Plain.ldb"), "");
    EXPECT_FALSE(CheckForExclusive(path("data.d/Plain")));
}

// Repair and compact

TEST_F(AccessActionsTest, CompactStartsAccessWithTheCompactSwitches)
{
    EXPECT_EQ(run(job_type::RepairCompact), 0);
    EXPECT_FALSE(m_job.Failure());
    EXPECT_EQ(accessArguments(), m_mdb + "\n/NOSTARTUP\n/COMPACT\n");
    EXPECT_EQ(logAfterHeader(), std::vector<std::string>{"Compacting file '" + m_mdb + "'."});
    EXPECT_EQ(m_display.texts().at(2), "Compacting Orders...");
}

TEST_F(AccessActionsTest, CompactCommandLineWithoutSecurityEndsWithATrailingBlank)
{
    EXPECT_EQ(compactCommandLine(m_job, "/opt/Access"),
              "\"/opt/Access\" \"" + m_mdb + "\" /NOSTARTUP /COMPACT ");
}

TEST_F(AccessActionsTest, CompactWithSecurityPassesUserPasswordAndWorkgroup)
{
    useSecurity();
    EXPECT_EQ(compactCommandLine(m_job, "/opt/Access"),
              "\"/opt/Access\" \"" + m_mdb +
                  "\" /NOSTARTUP /COMPACT  /USER admin /PWD  /WRKGRP \"/srv/Sec Dir/system.mdw\"");
    EXPECT_EQ(run(job_type::RepairCompact), 0);
    EXPECT_EQ(accessArguments(), m_mdb + "\n/NOSTARTUP\n/COMPACT\n/USER\nadmin\n/PWD\n/WRKGRP\n"
                                         "/srv/Sec Dir/system.mdw\n");
}

TEST_F(AccessActionsTest, CompactOfADatabaseInUseOnlyLogsThatItIsLocked)
{
    putFile(path("data/Orders.ldb"), "");
    EXPECT_EQ(run(job_type::RepairCompact), 0);
    EXPECT_FALSE(accessRan());
    EXPECT_EQ(logAfterHeader(),
              std::vector<std::string>{
                  "The MDB file to Repair and Compact cannot be opened exclusively."});
}

TEST_F(AccessActionsTest, CompactOfAMissingDatabaseLogsThatItDoesNotExist)
{
    fs::remove(m_mdb);
    EXPECT_EQ(run(job_type::RepairCompact), 0);
    EXPECT_EQ(logAfterHeader(),
              std::vector<std::string>{"MDB File '" + m_mdb + "' does not exist."});
}

TEST_F(AccessActionsTest, CompactFailingInAccessLogsItsExitCode)
{
    setenv("FAKE_ACCESS_EXIT_CODE", "3", 1);
    EXPECT_EQ(run(job_type::RepairCompact), 0);
    EXPECT_FALSE(m_job.Failure());
    EXPECT_EQ(logAfterHeader(),
              (std::vector<std::string>{"Compacting file '" + m_mdb + "'.",
                                        "Error #3 - Quorvex was unable to Compact the MDB File '" +
                                            m_mdb + "'."}));
}

// Auto execute

TEST_F(AccessActionsTest, AutoExecuteOpensTheDatabaseWithoutFurtherSwitches)
{
    EXPECT_EQ(autoExecuteCommandLine(m_job, "/opt/Access"), "\"/opt/Access\" \"" + m_mdb + "\"");
    EXPECT_EQ(run(job_type::AutoExecute), 0);
    EXPECT_EQ(accessArguments(), m_mdb + "\n");
    EXPECT_EQ(logAfterHeader(), std::vector<std::string>{"Auto Executing file '" + m_mdb + "'."});
    EXPECT_TRUE(m_desktop.boxes().empty());
}

TEST_F(AccessActionsTest, AutoExecuteWithSecurityPassesUserPasswordAndWorkgroup)
{
    useSecurity();
    m_job.setPassword("secret");
    EXPECT_EQ(autoExecuteCommandLine(m_job, "/opt/Access"),
              "\"/opt/Access\" \"" + m_mdb +
                  "\" /USER admin /PWD secret /WRKGRP \"/srv/Sec Dir/system.mdw\"");
    EXPECT_EQ(run(job_type::AutoExecute), 0);
    EXPECT_EQ(accessArguments(),
              m_mdb + "\n/USER\nadmin\n/PWD\nsecret\n/WRKGRP\n/srv/Sec Dir/system.mdw\n");
}

TEST_F(AccessActionsTest, AutoExecuteOfAMissingDatabaseLogsThatItDoesNotExist)
{
    fs::remove(m_mdb);
    EXPECT_EQ(run(job_type::AutoExecute), 0);
    EXPECT_EQ(logAfterHeader(),
              std::vector<std::string>{"Error #UD2 - MDB File '" + m_mdb + "' does not exist."});
}

TEST_F(AccessActionsTest, AutoExecuteFailingInAccessLogsItsExitCode)
{
    setenv("FAKE_ACCESS_EXIT_CODE", "7", 1);
    EXPECT_EQ(run(job_type::AutoExecute), 0);
    EXPECT_EQ(logAfterHeader().back(),
              "Error #7 - Quorvex was unable to Auto Execute MDB File: '" + m_mdb + "'.");
}

} // namespace
} // namespace quorvex::test

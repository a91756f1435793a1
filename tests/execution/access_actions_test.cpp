#include "execution/access.hpp"
#include "fakes/scoped_env.hpp"
#include "platform/file_system.hpp"

#include "access_job_test.hpp"

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;

const auto* const g_associations = testing::AddGlobalTestEnvironment(new AccessAssociations);

// A dot in a folder's name is no extension: the lock file of data.d/Plain is data.d/Plain.ldb.
// A double quote anywhere in Access's command line would let the rest of the value reach Access
// as switches of its own: the run is refused. That, a locked or a missing database is a log
// line and Access never starts; the run itself ends normally. Without Access (no probe file,
// nothing it opens with) repair and compact only logs it, and auto execute says so in a box.
TEST_F(AccessActionsTest, AccessIsFoundThroughTheProbeFileAndRunsThatNeverStartItAreLogged)
{
    std::string found = "stale";
    EXPECT_TRUE(CheckForAccess(found));
    // The system may spell the path its own way (short names, case); the file is the same.
    EXPECT_TRUE(sameEntry(found, AccessAssociations::accessProgram().string())) << found;
    putFile(path("data.d/Plain.ldb"), "");
    EXPECT_FALSE(CheckForExclusive(path("data.d/Plain")));
    m_job.setSecurity(true);
    m_job.setMDWFile(path("system.mdw"));
    for (const char* user : {"admin\" /COMPACT \"", "admin"}) {
        m_job.setUserID(user);
        m_job.setPassword(std::string(user) == "admin" ? "pass\"word" : "");
        EXPECT_EQ(logOfRun(job_type::RepairCompact), Lines{kQuoteRefused}) << user;
        EXPECT_EQ(logOfRun(job_type::AutoExecute), Lines{kQuoteRefused}) << user;
    }
    m_job.setSecurity(false);
    putFile(path("data/Orders.ldb"), "");
    EXPECT_EQ(logOfRun(job_type::RepairCompact),
              Lines{"The MDB file to Repair and Compact cannot be opened exclusively."});
    fs::remove(path("data/Orders.ldb"));
    fs::remove(m_mdb);
    EXPECT_EQ(logOfRun(job_type::RepairCompact), Lines{"MDB File '" + m_mdb + "' does not exist."});
    EXPECT_EQ(logOfRun(job_type::AutoExecute),
              Lines{"Error #UD2 - MDB File '" + m_mdb + "' does not exist."});
    putFile(m_mdb, "database");
    fs::remove(path("TestForAccess.mdb"));
    EXPECT_FALSE(CheckForAccess(found));
    EXPECT_EQ(found, "");
    EXPECT_EQ(logOfRun(job_type::RepairCompact), Lines{"Access does not exist on this machine."});
    EXPECT_TRUE(m_desktop.boxes().empty());
    EXPECT_EQ(logOfRun(job_type::AutoExecute), Lines{});
    ASSERT_EQ(m_desktop.boxes().size(), 1u);
    const auto& box = m_desktop.boxes().front();
    EXPECT_EQ(
        box.title + " " + std::to_string(box.style) + ": " + box.text,
        "Error 48: Access does not exist on this machine.\r\n\r\nOperation has been cancelled.");
    EXPECT_FALSE(fs::exists(m_mdb + ".args"));
}

// The arguments, one per line, that the fake Access received; an exit code other than 0 is
// logged after the line that started Access.
TEST_F(AccessActionsTest, CommandLinesReachAccessExactlyAndAFailingExitCodeIsLogged)
{
    const std::string mdw = "/srv/Sec Dir/system.mdw";
    // clang-format off
    struct Row { int16_t type; bool security; const char *password, *exitCode; std::string arguments; Lines log; };
    const std::vector<Row> rows = {
        {job_type::RepairCompact, false, "", "0", "/NOSTARTUP\n/COMPACT\n", {aboutMdb("Compacting file")}},
        {job_type::RepairCompact, true, "secret", "3", "/NOSTARTUP\n/COMPACT\n/USER\nadmin\n/PWD\nsecret\n/WRKGRP\n" + mdw + "\n",
         {aboutMdb("Compacting file"), aboutMdb("Error #3 - Quorvex was unable to Compact the MDB File")}},
        {job_type::AutoExecute, false, "", "0", "", {aboutMdb("Auto Executing file")}},
        {job_type::AutoExecute, true, "", "7", "/USER\nadmin\n/PWD\n/WRKGRP\n" + mdw + "\n",
         {aboutMdb("Auto Executing file"), aboutMdb("Error #7 - Quorvex was unable to Auto Execute MDB File:")}},
        // A password with a blank stays one argument.
        {job_type::AutoExecute, true, "open sesame", "0", "/USER\nadmin\n/PWD\nopen sesame\n/WRKGRP\n" + mdw + "\n",
         {aboutMdb("Auto Executing file")}},
    };
    // clang-format on
    m_job.setUserID("admin");
    m_job.setMDWFile(mdw);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments);
        m_job.setSecurity(row.security);
        m_job.setPassword(row.password);
        const ScopedEnv exitCode("FAKE_ACCESS_EXIT_CODE", row.exitCode);
        EXPECT_EQ(logOfRun(row.type), row.log);
        EXPECT_EQ(readFile(m_mdb + ".args"), m_mdb + "\n" + row.arguments);
    }
    EXPECT_EQ(m_display.texts.at(2), "Compacting Orders...");
    EXPECT_TRUE(m_desktop.boxes().empty());
}

} // namespace
} // namespace quorvex::test

#include "execution/access.hpp"
#include "execution/shell_and_close.hpp"
#include "fakes/case_table.hpp"
#include "fakes/scoped_env.hpp"
#include "platform/file_system.hpp"
#include "platform/windows.hpp"

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

// Each case of access_runs.txt is a run: the arguments, one per line, that the fake Access
// received, and the lines logged about it.
TEST_F(AccessActionsTest, CommandLinesReachAccessExactlyAndAFailingExitCodeIsLogged)
{
    m_job.setUserID("admin");
    m_job.setMDWFile("/srv/Sec Dir/system.mdw");
    for (const auto& c : readCaseTable(QUORVEX_TEST_DATA_DIR "/access_runs.txt")) {
        SCOPED_TRACE(c[0] + " exiting with " + c[3]);
        const bool repair = c[0] == "repair";
        m_job.setSecurity(c[1] == "on");
        m_job.setPassword(c[2]);
        const ScopedEnv exitCode("FAKE_ACCESS_EXIT_CODE", c[3]);
        Lines log{aboutMdb(repair ? "Compacting file" : "Auto Executing file")};
        if (c[4] != "-")
            log.push_back(aboutMdb(c[4]));
        EXPECT_EQ(logOfRun(repair ? job_type::RepairCompact : job_type::AutoExecute), log);
        std::string arguments = m_mdb + "\n";
        for (auto argument = c.begin() + 5; argument < c.end(); ++argument)
            arguments += *argument + "\n";
        EXPECT_EQ(readFile(m_mdb + ".args"), arguments);
    }
    EXPECT_EQ(m_display.texts.at(2), "Compacting Orders...");
    EXPECT_TRUE(m_desktop.boxes().empty());
}

using ShellAndCloseTest = AppDirTest;

// A start failure returns at once with its number. A program that starts (a window style out
// of range starts it all the same) is waited for, with three passes of events every cycle, and
// its exit code returned: 259, which Windows also reports for a program that still runs, is
// told apart by the process handle there, and POSIX keeps its low byte. Only a window title
// that begins with "FINISHED", in any case, closes the window; otherwise the fake Access times
// out. Windows need an X display on Linux (the suite runs under xvfb-run); the test stays
// connected throughout, as a bare X server resets whenever its last client leaves and turns
// away a client that connects during the reset.
TEST_F(ShellAndCloseTest, WaitsForTheProgramAndClosesItsWindowOnlyWhenItsTitleSaysFinished)
{
    // The fake Access, started on a database of the folder as Access would be, takes its
    // orders from the environment it inherits.
    const auto runFakeAccess = [&](int windowStyle) {
        return ShellAndClose(std::string("\"") + QUORVEX_FAKE_ACCESS + "\" \"" + path("db.mdb") +
                                 "\" /X",
                             windowStyle);
    };
    EXPECT_EQ(ShellAndClose(path("missing.exe") + " /X"), err::ObjectErrorBase + err::FileNotFound);
    EXPECT_EQ(m_desktop.doEventsCount(), 0);
    // Long enough for more than one cycle.
    const ScopedEnv runFor("FAKE_ACCESS_RUN_MS", "300");
    const ScopedEnv exitCode("FAKE_ACCESS_EXIT_CODE", "259");
    EXPECT_EQ(runFakeAccess(7) & 0xFF, 3);
    EXPECT_GE(m_desktop.doEventsCount(), 6);
    EXPECT_EQ(m_desktop.doEventsCount() % 3, 0);
    TopLevelWindows display;
    if (!display.hasDisplay())
        GTEST_SKIP() << "no display";
    // The exit code stays 259 whichever way the fake ends; when it times out, it is 124.
    const auto runWithTitle = [&](const char* title) {
        const ScopedEnv titled("FAKE_ACCESS_TITLE", title);
        return runFakeAccess(2) & 0xFF;
    };
    EXPECT_EQ(runWithTitle("Finished compacting"), 3);
    EXPECT_EQ(runWithTitle("finished: all done"), 3);
    const ScopedEnv timeout("FAKE_ACCESS_TIMEOUT_MS", "1000");
    EXPECT_EQ(runWithTitle("Unfinished business"), 124);
}

} // namespace
} // namespace quorvex::test

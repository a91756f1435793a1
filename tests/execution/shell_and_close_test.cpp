#include "execution/shell_and_close.hpp"

#include "fakes/scoped_env.hpp"
#include "fakes/test_environment.hpp"
#include "platform/windows.hpp"
#include "support/error.hpp"

#include <filesystem>

namespace quorvex {
namespace {

namespace fs = std::filesystem;

// The fake Access takes its orders from the environment it inherits.
class ShellAndCloseTest : public test::AppDirTest {
protected:
    // The fake started on a database of the test directory, as Access would be.
    std::string fakeAccessOn(const std::string& database) const
    {
        return std::string("\"") + QUORVEX_FAKE_ACCESS + "\" \"" + path(database) + "\" /X Macro";
    }
};

// A start failure returns at once with its number; a window style out of range still starts
// the program.
TEST_F(ShellAndCloseTest, ReturnsTheProgramsExitCodeOrWhyItCouldNotStart)
{
    writeFile(path("plain.txt"), "text");
    EXPECT_EQ(ShellAndClose(path("missing.exe") + " /X"), err::ObjectErrorBase + err::FileNotFound);
    EXPECT_EQ(ShellAndClose(path("plain.txt"), 0), err::ObjectErrorBase + err::PermissionDenied);
    EXPECT_EQ(m_desktop.doEventsCount(), 0);
    EXPECT_EQ(ShellAndClose(R"(/bin/sh -c "exit 12")", 2), 12);
    EXPECT_EQ(ShellAndClose(R"(/bin/sh -c "exit 5")", 7), 5);
    EXPECT_TRUE(m_desktop.boxes().empty());
}

TEST_F(ShellAndCloseTest, PumpsEventsThreeTimesEveryCycleUntilTheProgramHasEnded)
{
    const std::string lock = path("db.ldb");
    const std::string hold = path("running");
    writeFile(hold, "");
    const test::ScopedEnv lockFile("FAKE_ACCESS_LOCK", lock);
    const test::ScopedEnv runWhile("FAKE_ACCESS_RUN_WHILE", hold);
    // Lets the fake end once it has been seen running for more than one cycle.
    m_desktop.onDoEvents([&] {
        if (m_desktop.doEventsCount() >= 5 && fs::exists(lock))
            fs::remove(hold);
    });
    EXPECT_EQ(ShellAndClose(fakeAccessOn("db.mdb")), 0);
    EXPECT_GE(m_desktop.doEventsCount(), 6);
    EXPECT_EQ(m_desktop.doEventsCount() % 3, 0);
    EXPECT_FALSE(fs::exists(lock));
}

// Needs an X display (the suite runs under xvfb-run). The test stays connected throughout: a
// bare X server resets whenever its last client leaves, and a client that connects during the
// reset is turned away. Only a title that begins with "FINISHED", in any case, closes the
// window; otherwise the fake times out.
TEST_F(ShellAndCloseTest, WindowIsClosedOnlyWhenItsTitleBeginsWithFinished)
{
    TopLevelWindows display;
    if (!display.hasDisplay())
        GTEST_SKIP() << "no X display";
    const auto runWithTitle = [&](const char* title, const char* exitCode) {
        const test::ScopedEnv titled("FAKE_ACCESS_TITLE", title);
        const test::ScopedEnv exiting("FAKE_ACCESS_EXIT_CODE", exitCode);
        return ShellAndClose(fakeAccessOn("db.mdb"), 2);
    };
    EXPECT_EQ(runWithTitle("Finished compacting", "0"), 0);
    EXPECT_EQ(runWithTitle("finished: all done", "9"), 9);
    const test::ScopedEnv timeout("FAKE_ACCESS_TIMEOUT_MS", "1000");
    const int32_t fakeTimedOut = 124;
    EXPECT_EQ(runWithTitle("Unfinished business", "0"), fakeTimedOut);
}

} // namespace
} // namespace quorvex

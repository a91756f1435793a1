#include "execution/shell_and_close.hpp"
#include "fakes/scoped_env.hpp"
#include "fakes/test_environment.hpp"
#include "platform/windows.hpp"
#include "support/error.hpp"

namespace quorvex::test {
namespace {

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

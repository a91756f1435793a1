#include "shell_and_close_test.hpp"

#include "platform/windows.hpp"

namespace quorvex::test {
namespace {

// The program parses its own command line: the quotes reach it as written.
TEST_F(ShellAndCloseTest, TheProgramGetsItsArgumentsAsWritten)
{
    EXPECT_EQ(ShellAndClose(fakeAccessOn("db.mdb")), 0);
    EXPECT_EQ(readFile(dir() / "db.mdb.args"), path("db.mdb") + "\n/X\nMacro\n");
}

// Only a title that begins with "FINISHED", in any case, closes the window; otherwise the fake
// times out. On Linux this needs an X display (the suite runs under xvfb-run); the test stays
// connected throughout, as a bare X server resets whenever its last client leaves and turns
// away a client that connects during the reset.
TEST_F(ShellAndCloseTest, WindowIsClosedOnlyWhenItsTitleBeginsWithFinished)
{
    TopLevelWindows display;
    if (!display.hasDisplay())
        GTEST_SKIP() << "no display";
    const auto runWithTitle = [&](const char* title, const char* exitCode) {
        const ScopedEnv titled("FAKE_ACCESS_TITLE", title);
        const ScopedEnv exiting("FAKE_ACCESS_EXIT_CODE", exitCode);
        return ShellAndClose(fakeAccessOn("db.mdb"), 2);
    };
    EXPECT_EQ(runWithTitle("Finished compacting", "0"), 0);
    EXPECT_EQ(runWithTitle("finished: all done", "9"), 9);
    const ScopedEnv timeout("FAKE_ACCESS_TIMEOUT_MS", "1000");
    const int32_t fakeTimedOut = 124;
    EXPECT_EQ(runWithTitle("Unfinished business", "0"), fakeTimedOut);
}

} // namespace
} // namespace quorvex::test

// ShellAndClose on Windows: CreateProcessA with the command line as written, the exit code
// through GetExitCodeProcess, and the "FINISHED" window found with EnumWindows and closed with
// WM_CLOSE.
#include "execution/shell_and_close.hpp"
#include "fakes/scoped_env.hpp"
#include "fakes/test_environment.hpp"
#include "support/error.hpp"

#include <gtest/gtest.h>

#include <string>

namespace quorvex {
namespace {

// The fake Access takes its orders from the environment it inherits.
class ShellAndCloseWin32Test : public test::AppDirTest {
protected:
    std::string fakeAccessOn(const std::string& database) const
    {
        return std::string("\"") + QUORVEX_FAKE_ACCESS + "\" \"" + path(database) + "\" /X Macro";
    }
};

TEST_F(ShellAndCloseWin32Test, ReturnsTheProgramsExitCodeOrWhyItCouldNotStart)
{
    EXPECT_EQ(ShellAndClose(path("missing.exe") + " /X"), err::ObjectErrorBase + err::FileNotFound);
    EXPECT_EQ(ShellAndClose("cmd.exe /c exit 12", 2), 12);
    EXPECT_EQ(ShellAndClose("cmd.exe /c \"exit 5\"", 7), 5);
    // Also the code Windows reports for a program that still runs: the handle tells them apart.
    EXPECT_EQ(ShellAndClose("cmd.exe /c exit 259"), 259);
    // The program parses its own command line: the quotes reach it as written.
    EXPECT_EQ(ShellAndClose(fakeAccessOn("db.mdb")), 0);
    EXPECT_EQ(readFile(dir() / "db.mdb.args"), path("db.mdb") + "\n/X\nMacro\n");
}

TEST_F(ShellAndCloseWin32Test, WindowIsClosedOnlyWhenItsTitleBeginsWithFinished)
{
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

// ShellAndClose on Windows: CreateProcessA with the command line as written, the exit code
// through GetExitCodeProcess.
#include "shell_and_close_test.hpp"

namespace quorvex::test {
namespace {

TEST_F(ShellAndCloseTest, ReturnsTheProgramsExitCodeOrWhyItCouldNotStart)
{
    EXPECT_EQ(ShellAndClose(path("missing.exe") + " /X"), err::ObjectErrorBase + err::FileNotFound);
    EXPECT_EQ(ShellAndClose("cmd.exe /c exit 12", 2), 12);
    EXPECT_EQ(ShellAndClose("cmd.exe /c \"exit 5\"", 7), 5);
    // Also the code Windows reports for a program that still runs: the handle tells them apart.
    EXPECT_EQ(ShellAndClose("cmd.exe /c exit 259"), 259);
}

} // namespace
} // namespace quorvex::test

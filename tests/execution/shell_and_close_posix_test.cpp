#include "shell_and_close_test.hpp"

#include <filesystem>

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;

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
    const ScopedEnv lockFile("FAKE_ACCESS_LOCK", lock);
    const ScopedEnv runWhile("FAKE_ACCESS_RUN_WHILE", hold);
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

} // namespace
} // namespace quorvex::test

#include "execution/shell_and_close.hpp"

#include "fakes/test_environment.hpp"
#include "platform/windows.hpp"
#include "support/error.hpp"

#include <cstdlib>
#include <filesystem>
#include <map>

namespace quorvex {
namespace {

namespace fs = std::filesystem;

// The fake Access takes its orders from the environment it inherits.
class ScopedEnvironment {
public:
    ~ScopedEnvironment()
    {
        for (const auto& [name, value] : m_saved)
            value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
    }
    void set(const std::string& name, const std::string& value)
    {
        if (!m_saved.contains(name)) {
            const char* old = std::getenv(name.c_str());
            m_saved[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        setenv(name.c_str(), value.c_str(), 1);
    }

private:
    std::map<std::string, std::optional<std::string>> m_saved;
};

class ShellAndCloseTest : public test::AppDirTest {
protected:
    // The fake started on a database of the test directory, as Access would be.
    std::string fakeAccessOn(const std::string& database) const
    {
        return std::string("\"") + QUORVEX_FAKE_ACCESS + "\" \"" + path(database) + "\" /X Macro";
    }

    ScopedEnvironment m_environment;
};

TEST_F(ShellAndCloseTest, ReturnsTheProgramsExitCode)
{
    EXPECT_EQ(ShellAndClose(R"(/bin/sh -c "exit 0")"), 0);
    EXPECT_EQ(ShellAndClose(R"(/bin/sh -c "exit 12")", 2), 12);
}

TEST_F(ShellAndCloseTest, WindowStyleOutOfRangeStillStartsTheProgram)
{
    EXPECT_EQ(ShellAndClose(R"(/bin/sh -c "exit 5")", -1), 5);
    EXPECT_EQ(ShellAndClose(R"(/bin/sh -c "exit 5")", 7), 5);
}

TEST_F(ShellAndCloseTest, PumpsPendingEventsThreeTimesEveryCycleUntilTheProgramEnds)
{
    const std::string hold = path("running");
    writeFile(hold, "");
    m_environment.set("FAKE_ACCESS_RUN_WHILE", hold);
    m_desktop.onDoEvents([&] {
        if (m_desktop.doEventsCount() == 5)
            fs::remove(hold);
    });
    EXPECT_EQ(ShellAndClose(fakeAccessOn("db.mdb")), 0);
    EXPECT_GE(m_desktop.doEventsCount(), 6);
    EXPECT_EQ(m_desktop.doEventsCount() % 3, 0);
}

TEST_F(ShellAndCloseTest, WaitsWhileTheProgramHoldsItsLockFile)
{
    const std::string lock = path("db.ldb");
    const std::string hold = path("running");
    writeFile(hold, "");
    m_environment.set("FAKE_ACCESS_LOCK", lock);
    m_environment.set("FAKE_ACCESS_RUN_WHILE", hold);
    // Lets the fake end once the lock has been seen during the wait.
    m_desktop.onDoEvents([&] {
        if (fs::exists(lock))
            fs::remove(hold);
    });
    EXPECT_EQ(ShellAndClose(fakeAccessOn("db.mdb")), 0);
    EXPECT_FALSE(fs::exists(hold));
    EXPECT_FALSE(fs::exists(lock));
}

TEST_F(ShellAndCloseTest, StartFailureReturnsAtOnceWithItsNumber)
{
    EXPECT_EQ(ShellAndClose(path("missing.exe") + " /X"), kShellStartFailed + err::FileNotFound);
    const std::string plain = path("plain.txt");
    writeFile(plain, "text");
    EXPECT_EQ(ShellAndClose(plain, 0), kShellStartFailed + err::PermissionDenied);
    EXPECT_EQ(m_desktop.doEventsCount(), 0);
    EXPECT_TRUE(m_desktop.boxes().empty());
}

TEST_F(ShellAndCloseTest, UnquotedProgramPathWithBlanksIsResolved)
{
    const fs::path program = dir() / "app dir" / "fake access";
    fs::create_directories(program.parent_path());
    fs::copy_file(QUORVEX_FAKE_ACCESS, program);
    m_environment.set("FAKE_ACCESS_EXIT_CODE", "12");
    EXPECT_EQ(ShellAndClose(program.string() + "  \"" + path("x.mdb") + "\" /COMPACT "), 12);
    EXPECT_EQ(readFile(path("x.mdb.args")), path("x.mdb") + "\n/COMPACT\n");
}

// The window tests need an X display (the suite runs under xvfb-run). The fixture stays
// connected throughout: a bare X server resets whenever its last client leaves, and a client
// that connects during the reset is turned away.
class ShellAndCloseWindowTest : public ShellAndCloseTest {
protected:
    void SetUp() override
    {
        ShellAndCloseTest::SetUp();
        if (!m_display.hasDisplay())
            GTEST_SKIP() << "no X display";
    }

    int32_t runWithTitle(const std::string& title)
    {
        m_environment.set("FAKE_ACCESS_TITLE", title);
        return ShellAndClose(fakeAccessOn("db.mdb"), 2);
    }

    // What the fake returns when no close request came before its time ran out.
    static constexpr int32_t kFakeTimedOut = 124;

    TopLevelWindows m_display;
};

TEST_F(ShellAndCloseWindowTest, WindowWhoseTitleTurnsToFinishedIsAskedToClose)
{
    m_environment.set("FAKE_ACCESS_EXIT_CODE", "0");
    EXPECT_EQ(runWithTitle("Finished compacting"), 0);
    m_environment.set("FAKE_ACCESS_EXIT_CODE", "9");
    EXPECT_EQ(runWithTitle("finished: all done"), 9);
}

TEST_F(ShellAndCloseWindowTest, FinishedLaterInTheTitleDoesNotClose)
{
    m_environment.set("FAKE_ACCESS_TIMEOUT_MS", "1000");
    EXPECT_EQ(runWithTitle("Unfinished business"), kFakeTimedOut);
}

} // namespace
} // namespace quorvex

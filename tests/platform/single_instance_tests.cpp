#include "fakes/test_environment.hpp"
#include "platform/single_instance.hpp"
#include "support/error.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

namespace quorvex::test {
namespace {

class SingleInstanceTest : public AppDirTest
{
protected:
    SingleInstance take() const { return SingleInstance(dir().string(), "quorvex.lock"); }
};

int waitFor(pid_t child)
{
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST_F(SingleInstanceTest, TheFirstTakesTheLockAndASecondOpenIsRefused)
{
    const SingleInstance first = take();
    EXPECT_FALSE(first.anotherInstanceRuns());
    const SingleInstance second = take();
    EXPECT_TRUE(second.anotherInstanceRuns());
}

TEST_F(SingleInstanceTest, AnotherProcessIsRefusedWhileTheLockIsHeld)
{
    std::optional<SingleInstance> held;
    held.emplace(dir().string(), "quorvex.lock");
    const auto probe = [this] {
        const pid_t child = ::fork();
        if (child == 0)
            ::_exit(SingleInstance(dir().string(), "quorvex.lock").anotherInstanceRuns() ? 1 : 0);
        return waitFor(child);
    };
    EXPECT_EQ(probe(), 1);
    held.reset();
    EXPECT_EQ(probe(), 0);
}

TEST_F(SingleInstanceTest, AProgramStartedMeanwhileDoesNotKeepTheLock)
{
    std::optional<SingleInstance> held;
    held.emplace(dir().string(), "quorvex.lock");
    // cat lives until its standard input closes, so it outlives the holder. The started pipe
    // closes when cat has replaced the forked copy, which held the lock until then.
    int input[2];
    int started[2];
    ASSERT_EQ(::pipe(input), 0);
    ASSERT_EQ(::pipe2(started, O_CLOEXEC), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(input[0], STDIN_FILENO);
        ::close(input[1]);
        ::execl("/bin/cat", "cat", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(input[0]);
    ::close(started[1]);
    char byte = 0;
    ASSERT_EQ(::read(started[0], &byte, 1), 0);
    ::close(started[0]);
    held.reset();
    EXPECT_FALSE(take().anotherInstanceRuns());
    ::close(input[1]);
    EXPECT_EQ(waitFor(child), 0);
}

TEST_F(SingleInstanceTest, ALockFileThatCannotBeCreatedIsAnError)
{
    EXPECT_THROW(SingleInstance((dir() / "missing").string(), "quorvex.lock"), RuntimeError);
}

} // namespace
} // namespace quorvex::test

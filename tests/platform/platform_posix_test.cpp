// What the platform layer does that only POSIX systems have: the kernel's host name, hidden
// names and permission bits as attributes, and locks that other processes see.
#include "fakes/test_environment.hpp"
#include "platform/computer_name.hpp"
#include "platform/file_attributes.hpp"
#include "platform/single_instance.hpp"

#include <cstdio>
#include <fstream>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;

TEST(ComputerName, IsTheKernelsHostName)
{
    std::ifstream kernel("/proc/sys/kernel/hostname");
    std::string expected;
    std::getline(kernel, expected);
    EXPECT_FALSE(computerName().empty());
    EXPECT_EQ(computerName(), expected);
}

using PosixPlatformTest = AppDirTest;

TEST_F(PosixPlatformTest, AttributesReadHiddenFromTheNameReadOnlyFromTheOwnerAndFollowLinks)
{
    writeFile(dir() / ".hidden.mdb", "");
    writeFile(dir() / "locked.mdb", "");
    fs::permissions(dir() / "locked.mdb", fs::perms::owner_read | fs::perms::group_write);
    fs::create_directory(dir() / "folder");
    fs::create_directory_symlink(dir() / "folder", dir() / "shortcut");
    fs::create_symlink(dir() / "nowhere", dir() / "dangling");
    EXPECT_EQ(fileAttributes(path(".hidden.mdb")), attr::Hidden);
    EXPECT_EQ(fileAttributes(path("locked.mdb")), attr::ReadOnly);
    EXPECT_EQ(fileAttributes(path("shortcut")) & attr::Directory, attr::Directory);
    EXPECT_EQ(fileAttributes(path("dangling")), attr::Normal);
}

// Another process finds the lock taken while the holder holds it; a program started
// meanwhile (the shell runs as a program of its own once it has printed, and outlives the
// holder) does not keep it.
TEST_F(PosixPlatformTest, AnotherProcessSeesTheInstanceLockAndAProgramStartedMeanwhileDoesNotKeepIt)
{
    const auto anotherProcessFindsItTaken = [this] {
        const pid_t child = ::fork();
        if (child == 0)
            ::_exit(SingleInstance(dir().string(), "quorvex.lock").anotherInstanceRuns() ? 1 : 0);
        int status = -1;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 1;
    };
    std::optional<SingleInstance> held;
    held.emplace(dir().string(), "quorvex.lock");
    EXPECT_TRUE(anotherProcessFindsItTaken());
    FILE* child = ::popen("echo started; exec sleep 1", "r");
    ASSERT_NE(child, nullptr);
    char line[16];
    ASSERT_NE(std::fgets(line, sizeof line, child), nullptr);
    held.reset();
    EXPECT_FALSE(anotherProcessFindsItTaken());
    EXPECT_EQ(::pclose(child), 0);
}

} // namespace
} // namespace quorvex::test

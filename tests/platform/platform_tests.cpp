#include "fakes/test_environment.hpp"
#include "platform/computer_name.hpp"
#include "platform/file_attributes.hpp"
#include "platform/file_lock.hpp"
#include "platform/single_instance.hpp"
#include "support/error.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
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

using FileAttributesTest = AppDirTest;

TEST_F(FileAttributesTest, ReadsHiddenFromTheNameReadOnlyFromTheOwnerWriteBitAndFollowsLinks)
{
    for (const char* name : {"plain.mdb", ".hidden.mdb", "locked.mdb"})
        writeFile(dir() / name, "");
    fs::permissions(dir() / "locked.mdb", fs::perms::owner_read | fs::perms::group_write);
    fs::create_directory(dir() / "folder");
    fs::create_directory_symlink(dir() / "folder", dir() / "shortcut");
    fs::create_symlink(dir() / "nowhere", dir() / "dangling");

    EXPECT_EQ(fileAttributes(path("plain.mdb")), attr::Normal);
    EXPECT_EQ(fileAttributes(path(".hidden.mdb")), attr::Hidden);
    EXPECT_EQ(fileAttributes(path("locked.mdb")), attr::ReadOnly);
    EXPECT_EQ(fileAttributes(path("folder")), attr::Directory);
    EXPECT_EQ(fileAttributes(path("shortcut")) & attr::Directory, attr::Directory);
    EXPECT_EQ(fileAttributes(path("dangling")), attr::Normal);
    EXPECT_THROW(fileAttributes(path("missing.mdb")), RuntimeError);
}

class SingleInstanceTest : public AppDirTest {
protected:
    SingleInstance take() const { return SingleInstance(dir().string(), "quorvex.lock"); }
    // Whether a fresh process finds the lock taken.
    int probeFromAnotherProcess() const
    {
        const pid_t child = ::fork();
        if (child == 0)
            ::_exit(take().anotherInstanceRuns() ? 1 : 0);
        int status = -1;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST_F(SingleInstanceTest, OnlyTheFirstHolderRunsAndAnotherProcessIsRefusedWhileItHoldsTheLock)
{
    std::optional<SingleInstance> first;
    first.emplace(dir().string(), "quorvex.lock");
    EXPECT_FALSE(first->anotherInstanceRuns());
    EXPECT_TRUE(take().anotherInstanceRuns());
    EXPECT_EQ(probeFromAnotherProcess(), 1);
    first.reset();
    EXPECT_EQ(probeFromAnotherProcess(), 0);
    EXPECT_THROW(SingleInstance((dir() / "missing").string(), "quorvex.lock"), RuntimeError);
}

TEST_F(SingleInstanceTest, AProgramStartedMeanwhileDoesNotKeepTheLock)
{
    std::optional<SingleInstance> held;
    held.emplace(dir().string(), "quorvex.lock");
    // Once the shell has printed, it runs as a program of its own; it outlives the holder.
    FILE* child = ::popen("echo started; exec sleep 1", "r");
    ASSERT_NE(child, nullptr);
    char line[16];
    ASSERT_NE(std::fgets(line, sizeof line, child), nullptr);
    held.reset();
    EXPECT_FALSE(take().anotherInstanceRuns());
    EXPECT_EQ(::pclose(child), 0);
}

using ExclusiveFileLockTest = AppDirTest;

// One holder at a time, also within one process; the lock file goes with the lock, and one
// left behind (its holder killed) is simply taken.
TEST_F(ExclusiveFileLockTest, OneHolderAtATimeAndTheLockFileGoesWithTheLock)
{
    const std::string file = path("target.lock");
    ExclusiveFileLock first(file);
    ExclusiveFileLock second(file);
    EXPECT_TRUE(first.tryLock());
    EXPECT_FALSE(second.tryLock());
    first.release();
    EXPECT_FALSE(fs::exists(file));
    std::ofstream(file) << "left by a killed holder";
    EXPECT_TRUE(second.tryLock());
    EXPECT_FALSE(first.tryLock());
    second.release();
    EXPECT_FALSE(fs::exists(file));
    EXPECT_THROW(ExclusiveFileLock(path("missing/target.lock")).tryLock(), RuntimeError);
}

} // namespace
} // namespace quorvex::test

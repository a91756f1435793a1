// What the platform layer does alike on every system: attributes, renames, the identity of an
// entry, copies, and the locks that keep instances and runs apart.
#include "execution/file_copy.hpp"
#include "fakes/test_environment.hpp"
#include "platform/file_attributes.hpp"
#include "platform/file_lock.hpp"
#include "platform/file_system.hpp"
#include "support/error.hpp"

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;

using PlatformTest = AppDirTest;

TEST_F(PlatformTest, AttributesRenamesThatRefuseOrReplaceAsAskedAndTwoSpellingsOfOneEntry)
{
    writeFile(dir() / "plain.mdb", "");
    writeFile(dir() / "locked.mdb", "");
    // Read-only is the owner's: another's right to write does not count.
    fs::permissions(dir() / "locked.mdb", fs::perms::owner_read | fs::perms::group_write);
    fs::create_directory(dir() / "folder");
    EXPECT_EQ(fileAttributes(path("plain.mdb")), attr::Normal);
    EXPECT_EQ(fileAttributes(path("locked.mdb")), attr::ReadOnly);
    EXPECT_EQ(fileAttributes(path("folder")), attr::Directory);
    EXPECT_EQ(errorNumberOf([&] { fileAttributes(path("missing.mdb")); }), err::FileNotFound);

    writeFile(dir() / "new.mdb", "new");
    writeFile(dir() / "old.mdb", "old");
    EXPECT_EQ(errorNumberOf([&] { renameNoReplace(path("new.mdb"), path("old.mdb")); }),
              err::FileExists);
    EXPECT_EQ(readFile(dir() / "old.mdb"), "old");
    renameReplacing(path("new.mdb"), path("old.mdb"));
    EXPECT_EQ(readFile(dir() / "old.mdb"), "new");
    EXPECT_FALSE(fs::exists(dir() / "new.mdb"));

    fs::create_directory(dir() / "Backups");
    fs::create_directory(dir() / "Other");
    EXPECT_TRUE(sameEntry(path("Backups"), path("Other/../Backups")));
    EXPECT_FALSE(sameEntry(path("Backups"), path("Other")));
    EXPECT_FALSE(sameEntry(path("Backups"), path("Missing")));
}

// A disk that fills up in the middle of a copy: the half-written copy is gone afterwards,
// though Windows deletes no file that is still open.
TEST_F(PlatformTest, ACopyKeepsContentReadOnlyAndTimeNeverReplacesAndLeavesNothingWhenItFails)
{
    writeFile(dir() / "Orders.mdb", std::string(3 << 20, 'd'));
    fs::permissions(dir() / "Orders.mdb", fs::perms::owner_read);
    copyFileToNew(path("Orders.mdb"), path("Copy.mdb"));
    EXPECT_EQ(readFile(dir() / "Copy.mdb"), readFile(dir() / "Orders.mdb"));
    EXPECT_EQ(fileAttributes(path("Copy.mdb")), attr::ReadOnly);
    EXPECT_EQ(fs::last_write_time(dir() / "Copy.mdb"), fs::last_write_time(dir() / "Orders.mdb"));
    EXPECT_EQ(errorNumberOf([&] { OpenFile::createNew(path("Copy.mdb")); }), err::FileExists);
    setCopyProgressHook([](uint64_t written) {
        if (written > (1 << 20))
            throw RuntimeError::fromNumber(err::DiskFull);
    });
    const int32_t failure =
        errorNumberOf([&] { copyFileToNew(path("Orders.mdb"), path("Failed.mdb")); });
    setCopyProgressHook({});
    EXPECT_EQ(failure, err::DiskFull);
    EXPECT_FALSE(fs::exists(dir() / "Failed.mdb"));
}

// One holder at a time, also within one process; the lock file goes with the lock, and one
// left behind (its holder killed) is simply taken. (The instance lock, held by the agent and
// seen from another process: CtlRunTest.DueRunsNothingOnTheFirstCheckNorBesideTheAgent.)
TEST_F(PlatformTest, OneLockHolderAtATimeAndTheLockFileGoesWithTheLock)
{
    const std::string file = path("target.lock");
    ExclusiveFileLock first(file);
    ExclusiveFileLock second(file);
    EXPECT_TRUE(first.tryLock());
    EXPECT_FALSE(second.tryLock());
    first.release();
    EXPECT_FALSE(fs::exists(file));
    writeFile(file, "left by a killed holder");
    EXPECT_TRUE(second.tryLock());
    EXPECT_FALSE(first.tryLock());
    EXPECT_THROW(ExclusiveFileLock(path("missing/target.lock")).tryLock(), RuntimeError);
}

} // namespace
} // namespace quorvex::test

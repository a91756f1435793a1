#include "fakes/test_environment.hpp"
#include "platform/file_attributes.hpp"
#include "support/error.hpp"

#include <gtest/gtest.h>

#include <filesystem>

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;

using FileAttributesTest = AppDirTest;

TEST_F(FileAttributesTest, ReadsHiddenFromTheNameAndReadOnlyFromTheOwnerWriteBit)
{
    writeFile(dir() / "plain.mdb", "");
    writeFile(dir() / ".hidden.mdb", "");
    writeFile(dir() / "locked.mdb", "");
    fs::permissions(dir() / "locked.mdb", fs::perms::owner_read | fs::perms::group_write);
    fs::create_directory(dir() / "folder");

    EXPECT_EQ(fileAttributes(path("plain.mdb")), attr::Normal);
    EXPECT_EQ(fileAttributes(path(".hidden.mdb")), attr::Hidden);
    EXPECT_EQ(fileAttributes(path("locked.mdb")), attr::ReadOnly);
    EXPECT_EQ(fileAttributes(path("folder")), attr::Directory);
}

TEST_F(FileAttributesTest, ALinkShowsWhatItPointsAt)
{
    fs::create_directory(dir() / "folder");
    fs::create_directory_symlink(dir() / "folder", dir() / "shortcut");
    fs::create_symlink(dir() / "nowhere", dir() / "dangling");
    EXPECT_EQ(fileAttributes(path("shortcut")) & attr::Directory, attr::Directory);
    EXPECT_EQ(fileAttributes(path("dangling")), attr::Normal);
}

TEST_F(FileAttributesTest, ClearingGivesTheOwnerWriteBackAndKeepsEveryOtherBit)
{
    writeFile(dir() / ".locked.mdb", "");
    fs::permissions(dir() / ".locked.mdb", fs::perms::owner_read | fs::perms::group_read);
    clearFileAttributes(path(".locked.mdb"));
    EXPECT_EQ(fs::status(path(".locked.mdb")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(fileAttributes(path(".locked.mdb")), attr::Hidden) << "a dot is part of the name";
}

TEST_F(FileAttributesTest, ClearingALinkLeavesItsTargetReadOnly)
{
    writeFile(dir() / "target.mdb", "");
    fs::permissions(dir() / "target.mdb", fs::perms::owner_read);
    fs::create_symlink(dir() / "target.mdb", dir() / "link.mdb");
    clearFileAttributes(path("link.mdb"));
    EXPECT_EQ(fs::status(path("target.mdb")).permissions(), fs::perms::owner_read);
}

TEST_F(FileAttributesTest, AMissingEntryIsFileNotFound)
{
    try {
        clearFileAttributes(path("missing.mdb"));
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::FileNotFound);
    }
    EXPECT_THROW(fileAttributes(path("missing.mdb")), RuntimeError);
}

} // namespace
} // namespace quorvex::test

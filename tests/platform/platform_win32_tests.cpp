// What the platform layer does that only Windows has: file attributes of their own, drive
// roots, locks made by opening without sharing, and the file index as identity.
#include "execution/file_checks.hpp"
#include "execution/file_copy.hpp"
#include "fakes/test_environment.hpp"
#include "jobs/job_directory.hpp"
#include "platform/computer_name.hpp"
#include "platform/file_attributes.hpp"
#include "platform/file_lock.hpp"
#include "platform/file_system.hpp"
#include "platform/single_instance.hpp"
#include "support/error.hpp"
#include "support/files.hpp"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <vector>

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;

TEST(ComputerName, IsTheNameTheSystemGivesProgramsInTheEnvironment)
{
    const char* expected = std::getenv("COMPUTERNAME");
    ASSERT_NE(expected, nullptr);
    EXPECT_EQ(computerName(), expected);
}

TEST(DriveRoot, OnlyADriveLetterWithItsColonAndAtMostOneSeparator)
{
    const struct {
        const char* path;
        bool root;
    } cases[] = {{"C:\\", true},   {"a:\\", true}, {"D:", true},    {"C:/", true},
                 {"C:\\x", false}, {"\\", false},  {"1:\\", false}, {"CD:", false},
                 {"", false},      {"C", false},   {":\\", false}};
    for (const auto& c : cases)
        EXPECT_EQ(isDriveRoot(c.path), c.root) << c.path;
}

TEST(PathSeparator, IsTheBackslashThePathsAreSplitAt)
{
    EXPECT_EQ(FilePathStripFileName("C:\\Data\\Orders.mdb"), "C:\\Data\\");
    EXPECT_EQ(FilePathStripPath("C:\\Data\\Orders.mdb"), "Orders.mdb");
    std::string folder = "C:\\Backups";
    FormatPath(folder, true);
    EXPECT_EQ(folder, "C:\\Backups\\");
}

class WindowsFilesTest : public AppDirTest {
protected:
    void makeFile(const std::string& name, DWORD attributes)
    {
        writeFile(dir() / name, "x");
        ASSERT_TRUE(SetFileAttributesA(path(name).c_str(), attributes));
    }
};

// A leading dot means nothing to Windows; Wine marks such names hidden, so they are not
// asked about here.
TEST_F(WindowsFilesTest, AttributesAreTheSystemsOwn)
{
    makeFile("plain.mdb", FILE_ATTRIBUTE_NORMAL);
    makeFile("hidden.mdb", FILE_ATTRIBUTE_HIDDEN);
    makeFile("system.mdb", FILE_ATTRIBUTE_SYSTEM);
    makeFile("locked.mdb", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    fs::create_directory(dir() / "folder");

    EXPECT_EQ(fileAttributes(path("plain.mdb")), attr::Normal);
    EXPECT_EQ(fileAttributes(path("hidden.mdb")), attr::Hidden);
    EXPECT_EQ(fileAttributes(path("system.mdb")), attr::System);
    EXPECT_EQ(fileAttributes(path("locked.mdb")), attr::ReadOnly | attr::Hidden);
    EXPECT_EQ(fileAttributes(path("folder")), attr::Directory);
    try {
        fileAttributes(path("missing.mdb"));
        ADD_FAILURE() << "a missing file has attributes";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::FileNotFound);
    }
}

// Access's lock file, the databases and the job files count only when a plain listing would
// show them.
TEST_F(WindowsFilesTest, HiddenAndSystemFilesExistButAreNotPlainFiles)
{
    makeFile("plain.ldb", FILE_ATTRIBUTE_NORMAL);
    makeFile("locked.ldb", FILE_ATTRIBUTE_READONLY);
    makeFile("hidden.ldb", FILE_ATTRIBUTE_HIDDEN);
    makeFile("system.ldb", FILE_ATTRIBUTE_SYSTEM);
    for (const auto& [name, plain] : {std::pair{"plain.ldb", true},
                                      {"locked.ldb", true},
                                      {"hidden.ldb", false},
                                      {"system.ldb", false}}) {
        EXPECT_TRUE(fileExists(path(name))) << name;
        EXPECT_EQ(plainFileExists(path(name)), plain) << name;
    }
    EXPECT_FALSE(plainFileExists(path("missing.ldb")));
    std::vector<std::string> jobFiles = listJobFiles(dir().string());
    std::sort(jobFiles.begin(), jobFiles.end());
    EXPECT_EQ(jobFiles, (std::vector<std::string>{path("locked.ldb"), path("plain.ldb")}));
}

TEST_F(WindowsFilesTest, UKillDeletesHiddenSystemAndReadOnlyFilesAlikeAndLeavesOthers)
{
    makeFile("Orders1.mdb", FILE_ATTRIBUTE_READONLY);
    makeFile("Orders2.mdb", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    makeFile("Orders3.mdb", FILE_ATTRIBUTE_NORMAL);
    makeFile("Orders.txt", FILE_ATTRIBUTE_READONLY);

    EXPECT_EQ(uKill(path("Orders?.mdb")), 0);

    for (const char* gone : {"Orders1.mdb", "Orders2.mdb", "Orders3.mdb"})
        EXPECT_FALSE(fs::exists(dir() / gone)) << gone;
    EXPECT_EQ(fileAttributes(path("Orders.txt")), attr::ReadOnly);
}

TEST_F(WindowsFilesTest, RenamesRefuseOrReplaceATakenNameAsAsked)
{
    writeFile(dir() / "new.mdb", "new");
    writeFile(dir() / "old.mdb", "old");
    try {
        renameNoReplace(path("new.mdb"), path("old.mdb"));
        ADD_FAILURE() << "a taken name was replaced";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::FileExists);
    }
    EXPECT_EQ(readFile(dir() / "old.mdb"), "old");
    renameReplacing(path("new.mdb"), path("old.mdb"));
    EXPECT_EQ(readFile(dir() / "old.mdb"), "new");
    EXPECT_FALSE(fs::exists(dir() / "new.mdb"));
}

TEST_F(WindowsFilesTest, TwoSpellingsOfOneFolderAreTheSameEntryAndNeighboursAreNot)
{
    fs::create_directory(dir() / "Backups");
    fs::create_directory(dir() / "Other");
    const std::string spelled = path("Backups");
    std::string upper = spelled;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_TRUE(sameEntry(spelled, upper));
    EXPECT_TRUE(sameEntry(spelled, path("Other") + "\\..\\Backups"));
    EXPECT_FALSE(sameEntry(spelled, path("Other")));
    EXPECT_FALSE(sameEntry(spelled, path("Missing")));
}

TEST_F(WindowsFilesTest, ACopyKeepsContentReadOnlyAndTimeAndNeverReplaces)
{
    writeFile(dir() / "Orders.mdb", std::string(3 << 20, 'd'));
    ASSERT_TRUE(SetFileAttributesA(path("Orders.mdb").c_str(), FILE_ATTRIBUTE_READONLY));
    copyFileToNew(path("Orders.mdb"), path("Copy.mdb"));
    EXPECT_EQ(readFile(dir() / "Copy.mdb"), readFile(dir() / "Orders.mdb"));
    EXPECT_EQ(fileAttributes(path("Copy.mdb")), attr::ReadOnly);
    EXPECT_EQ(fs::last_write_time(dir() / "Copy.mdb"), fs::last_write_time(dir() / "Orders.mdb"));
    try {
        OpenFile::createNew(path("Copy.mdb"));
        ADD_FAILURE() << "an existing file was opened as new";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::FileExists);
    }
}

// A disk that fills up in the middle of a copy: the half-written copy is gone afterwards,
// though Windows deletes no file that is still open.
TEST_F(WindowsFilesTest, ACopyThatFailsHalfWayLeavesNothingBehind)
{
    writeFile(dir() / "Orders.mdb", std::string(3 << 20, 'd'));
    setCopyProgressHook([](uint64_t written) {
        if (written > (1 << 20))
            throw RuntimeError::fromNumber(err::DiskFull);
    });
    try {
        copyFileToNew(path("Orders.mdb"), path("Copy.mdb"));
        ADD_FAILURE() << "the copy did not fail";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::DiskFull);
    }
    setCopyProgressHook({});
    EXPECT_FALSE(fs::exists(dir() / "Copy.mdb"));
}

TEST_F(WindowsFilesTest, OneInstanceHoldsTheLockFileUntilItEnds)
{
    std::optional<SingleInstance> first;
    first.emplace(dir().string(), "quorvex.lock");
    EXPECT_FALSE(first->anotherInstanceRuns());
    EXPECT_TRUE(SingleInstance(dir().string(), "quorvex.lock").anotherInstanceRuns());
    first.reset();
    EXPECT_FALSE(SingleInstance(dir().string(), "quorvex.lock").anotherInstanceRuns());
    EXPECT_THROW(SingleInstance((dir() / "missing").string(), "quorvex.lock"), RuntimeError);
}

TEST_F(WindowsFilesTest, TheExclusiveLockIsOneHoldersAndItsFileGoesWithIt)
{
    ExclusiveFileLock first(path("target.lock"));
    ExclusiveFileLock second(path("target.lock"));
    ASSERT_TRUE(first.tryLock());
    EXPECT_FALSE(second.tryLock());
    first.release();
    EXPECT_FALSE(fs::exists(dir() / "target.lock"));
    EXPECT_TRUE(second.tryLock());
    EXPECT_FALSE(first.tryLock());
}

} // namespace
} // namespace quorvex::test

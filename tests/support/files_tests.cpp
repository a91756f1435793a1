#include "fakes/test_environment.hpp"
#include "support/files.hpp"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;

class FilesTest : public AppDirTest {
protected:
    std::string touch(const std::string& name,
                      fs::perms perms = fs::perms::owner_read | fs::perms::owner_write)
    {
        writeFile(dir() / name, "x");
        fs::permissions(dir() / name, perms);
        return path(name);
    }
};

TEST_F(FilesTest, UKillDeletesEveryMatchingFileReadOnlyAndHiddenIncludedAndNothingElse)
{
    // Every file is read-only; names differ by case, "?" is exactly one character and brackets
    // are plain characters.
    // clang-format off
    const std::pair<const char*, bool> rows[] = {
        {".orders.mdb", true}, {"Orders.zip", true}, {".Orders_2.zip", true}, {"Orders.mdb", false},
        {"orders.ZIP", false}, {"Orders_1.tsk", true}, {"Orders_12.tsk", false}, {"Orders_.tsk", false},
        {"a[1].log", true}, {"a1.log", false}, {"a*b.txt", true}, {"ab.txt", true}};
    // clang-format on
    for (const auto& [name, deleted] : rows)
        touch(name, fs::perms::owner_read);
    fs::create_directory(dir() / "Archive.zip");
    const std::string target = touch("Target.log", fs::perms::owner_read);
    fs::create_symlink(target, path("Link.log"));
    // The last ones match nothing, and a bare folder is not every file in it.
    for (const char* pattern :
         {".orders.mdb", "*.zip", "Orders_?.tsk", "a[1].log", "*b.txt", "Link.log", "Orders_99.zip",
          "missing/Orders.mdb", "missing/*.mdb", ""})
        EXPECT_EQ(uKill(path(pattern)), 0) << pattern;

    for (const auto& [name, deleted] : rows)
        EXPECT_EQ(fs::exists(path(name)), !deleted) << name;
    EXPECT_TRUE(fs::is_directory(path("Archive.zip"))) << "folders are never deleted";
    EXPECT_FALSE(fs::is_symlink(path("Link.log")));
    ASSERT_TRUE(fs::exists(target)) << "a link goes, its target stays";
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read);
    EXPECT_EQ(m_desktop.doEventsCount(), 0);
    EXPECT_TRUE(m_desktop.boxes().empty());
}

TEST_F(FilesTest, UKillOfAFileInAReadOnlyFolderIsAFatalPermissionError)
{
    fs::permissions(dir(), fs::perms::all); // the unprivileged child writes the error log
    fs::create_directory(dir() / "locked");
    const std::string file = touch("locked/Orders.mdb");
    fs::permissions(dir() / "locked", fs::perms(0505));

    // The child cannot override permissions: it drops to an unprivileged user when run as root.
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(99);
        try {
            uKill(file);
        } catch (const FatalExitCalled&) {
            ::_exit(0);
        }
        ::_exit(1);
    }
    int status = -1;
    ::waitpid(child, &status, 0);

    EXPECT_EQ(status, 0) << "the program must end after the report";
    EXPECT_TRUE(fs::exists(file));
    expectInErrorLog({"ERR#70 @ Quorvex - Permission denied", "libFiles.bas/uKill()."});
}

TEST_F(FilesTest, APathWithoutSeparatorIsAFatalErrorNamingTheSplitter)
{
    EXPECT_THROW(uKill("Orders.mdb"), FatalExitCalled);
    EXPECT_THROW(FilePathStripPath("Orders.mdb"), FatalExitCalled);
    EXPECT_EQ(m_desktop.boxes().size(), 2u);
    expectInErrorLog({"ERR#-2147221503 @ FilePathStripFileName() - Error, no \\~s in path",
                      "libFiles.bas/FilePathStripFileName().",
                      "libFiles.bas/FilePathStripPath()."});
}

TEST_F(FilesTest, UMkDirCreatesAMissingFolderLeavesAnExistingEntryAloneAndNeedsTheParent)
{
    EXPECT_EQ(uMkDir(path("DatabaseJobs/")), 0);
    EXPECT_TRUE(fs::is_directory(path("DatabaseJobs")));
    touch("DatabaseJobs/Nightly.tsk");
    touch("NotAFolder");
    EXPECT_EQ(uMkDir(path("DatabaseJobs")), 0);
    EXPECT_EQ(uMkDir(path("NotAFolder")), 0);
    EXPECT_TRUE(fs::exists(path("DatabaseJobs/Nightly.tsk")));
    EXPECT_TRUE(fs::is_regular_file(path("NotAFolder")));
    EXPECT_EQ(m_desktop.doEventsCount(), 0);

    EXPECT_THROW(uMkDir(path("missing/DatabaseJobs")), FatalExitCalled);
    EXPECT_FALSE(fs::exists(path("missing")));
    expectInErrorLog({"ERR#76 @ Quorvex - Path not found", "libFiles.bas/uMkDir()."});
}

TEST(FormatPath, AddsOrRemovesExactlyOneTrailingSeparator)
{
    // clang-format off
    const std::tuple<std::string, bool, std::string> rows[] = {
        {"/data", true, "/data/"}, {"/data/", true, "/data/"}, {"/data/", false, "/data"},
        {"/data//", false, "/data/"}, {"/data", false, "/data"}, {"", true, "/"}, {"", false, ""}};
    // clang-format on
    for (const auto& [in, add, out] : rows) {
        std::string path = in;
        FormatPath(path, add);
        EXPECT_EQ(path, out) << "'" << in << "' add=" << add;
    }
}

TEST(FilePathSplit, SplitsAtTheLastSeparator)
{
    for (const auto& [path, folder, name] :
         {std::array<std::string, 3>{"/data/Orders.mdb", "/data/", "Orders.mdb"},
          {"/data/backup/", "/data/backup/", ""},
          {"/Orders.mdb", "/", "Orders.mdb"}})
        EXPECT_EQ(std::pair(FilePathStripFileName(path), FilePathStripPath(path)),
                  std::pair(folder, name));
}

} // namespace
} // namespace quorvex::test

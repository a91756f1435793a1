#include "fakes/test_environment.hpp"
#include "support/error_handler.hpp"
#include "support/files.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;

class FilesTest : public AppDirTest
{
protected:
    std::string touch(const std::string& name,
                      fs::perms perms = fs::perms::owner_read | fs::perms::owner_write)
    {
        writeFile(dir() / name, "x");
        fs::permissions(dir() / name, perms);
        return path(name);
    }
    std::string errorLog() const { return readFile(errorLogPath()); }
};

// ---- uKill ----------------------------------------------------------------------------------

TEST_F(FilesTest, UKillDeletesAReadOnlyHiddenFile)
{
    const std::string file = touch(".orders.mdb", fs::perms::owner_read);
    EXPECT_EQ(uKill(file), 0);
    EXPECT_FALSE(fs::exists(file));
}

TEST_F(FilesTest, UKillWithAsteriskDeletesEveryMatchingFileHiddenAndReadOnlyIncluded)
{
    touch("Orders.zip");
    touch("Orders_1.zip", fs::perms::owner_read);
    touch(".Orders_2.zip");
    touch("Orders.mdb");
    touch("orders.ZIP");
    fs::create_directory(dir() / "Archive.zip");

    EXPECT_EQ(uKill(path("*.zip")), 0);

    EXPECT_FALSE(fs::exists(path("Orders.zip")));
    EXPECT_FALSE(fs::exists(path("Orders_1.zip")));
    EXPECT_FALSE(fs::exists(path(".Orders_2.zip")));
    EXPECT_TRUE(fs::exists(path("Orders.mdb")));
    EXPECT_TRUE(fs::exists(path("orders.ZIP"))) << "names differ by case on this platform";
    EXPECT_TRUE(fs::is_directory(path("Archive.zip"))) << "folders are never deleted";
}

TEST_F(FilesTest, UKillQuestionMarkStandsForExactlyOneCharacter)
{
    touch("Orders_1.zip");
    touch("Orders_12.zip");
    touch("Orders_.zip");
    uKill(path("Orders_?.zip"));
    EXPECT_FALSE(fs::exists(path("Orders_1.zip")));
    EXPECT_TRUE(fs::exists(path("Orders_12.zip")));
    EXPECT_TRUE(fs::exists(path("Orders_.zip")));
}

TEST_F(FilesTest, UKillReadsWildcardsOnlyAsWildcards)
{
    touch("a*b.zip");
    touch("a[1].zip");
    touch("ab.zip");
    uKill(path("*b.zip"));
    EXPECT_FALSE(fs::exists(path("a*b.zip")));
    EXPECT_FALSE(fs::exists(path("ab.zip")));
    uKill(path("a[1].zip"));
    EXPECT_FALSE(fs::exists(path("a[1].zip"))) << "brackets are plain characters";
}

TEST_F(FilesTest, UKillOnAPathMatchingNothingReturnsZeroAndDoesNothing)
{
    touch("Orders.mdb");
    EXPECT_EQ(uKill(path("Orders_99.zip")), 0);
    EXPECT_EQ(uKill(path("*.zip")), 0);
    EXPECT_EQ(uKill(path("missing/Orders.mdb")), 0);
    EXPECT_EQ(uKill(path("missing/*.mdb")), 0);
    EXPECT_EQ(uKill(path("")), 0) << "a bare folder is not every file in it";
    EXPECT_TRUE(fs::exists(path("Orders.mdb")));
    EXPECT_EQ(m_desktop.doEventsCount(), 0);
    EXPECT_TRUE(m_desktop.boxes().empty());
}

TEST_F(FilesTest, UKillRemovesALinkAndLeavesItsReadOnlyTargetAlone)
{
    const std::string target = touch("Orders.mdb", fs::perms::owner_read);
    fs::create_symlink(target, path("Link.mdb"));
    uKill(path("Link.mdb"));
    EXPECT_FALSE(fs::is_symlink(path("Link.mdb")));
    ASSERT_TRUE(fs::exists(target));
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::owner_write, fs::perms::none);
}

// Runs body in a child process that cannot override permissions (an unprivileged user when
// the tests run as root) and returns the child's exit code.
template <class Body> int runUnprivileged(Body body)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(99);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST_F(FilesTest, UKillOfAFileInAReadOnlyFolderIsAFatalPermissionError)
{
    fs::permissions(dir(), fs::perms::all); // the unprivileged child writes the error log
    fs::create_directory(dir() / "locked");
    const std::string file = touch("locked/Orders.mdb");
    fs::permissions(dir() / "locked", fs::perms::owner_read | fs::perms::owner_exec |
                                          fs::perms::others_read | fs::perms::others_exec);

    const int outcome = runUnprivileged([&] {
        try {
            uKill(file);
            return 1;
        } catch (const FatalExitCalled&) {
            return 0;
        }
    });

    EXPECT_EQ(outcome, 0) << "the program must end after the report";
    EXPECT_TRUE(fs::exists(file));
    const std::string log = errorLog();
    EXPECT_NE(log.find("Severity:    Fatal\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Description: ERR#70 @ Quorvex - Permission denied\r\n"), std::string::npos)
        << log;
    EXPECT_NE(log.find("Last DLL:     13 \r\n"), std::string::npos) << "EACCES: " << log;
    EXPECT_NE(log.find("Module/Function: libFiles.bas/uKill().\r\n"), std::string::npos) << log;
}

TEST_F(FilesTest, UKillOfAPathWithoutSeparatorIsTheFatalNoSeparatorError)
{
    EXPECT_THROW(uKill("Orders.mdb"), FatalExitCalled);
    const std::string log = errorLog();
    EXPECT_NE(log.find("Description: ERR#-2147221503 @ FilePathStripFileName() - "
                       "Error, no \\~s in path\r\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Details:     ERR#-2147221503 @ FilePathStripFileName() - "
                       "Error, no \\`s in path\r\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Module/Function: libFiles.bas/FilePathStripFileName().\r\n"),
              std::string::npos)
        << log;
    ASSERT_EQ(m_desktop.boxes().size(), 1u);
    EXPECT_EQ(m_desktop.boxes()[0].title, "Fatal Application Error");
    EXPECT_EQ(m_desktop.boxes()[0].text,
              "ERR#-2147221503 @ FilePathStripFileName() - Error, no \\~s in path\r\n\r\n"
              "Application will now terminate.");
}

// ---- uMkDir ---------------------------------------------------------------------------------

TEST_F(FilesTest, UMkDirDropsTheTrailingSeparatorAndCreatesTheFolder)
{
    EXPECT_EQ(uMkDir(path("DatabaseJobs/")), 0);
    EXPECT_TRUE(fs::is_directory(path("DatabaseJobs")));
}

TEST_F(FilesTest, UMkDirLeavesAnExistingEntryAlone)
{
    fs::create_directory(dir() / "DatabaseJobs");
    touch("DatabaseJobs/Nightly.tsk");
    touch("NotAFolder");
    EXPECT_EQ(uMkDir(path("DatabaseJobs")), 0);
    EXPECT_EQ(uMkDir(path("NotAFolder")), 0);
    EXPECT_TRUE(fs::exists(path("DatabaseJobs/Nightly.tsk")));
    EXPECT_TRUE(fs::is_regular_file(path("NotAFolder")));
    EXPECT_EQ(m_desktop.doEventsCount(), 0);
}

TEST_F(FilesTest, UMkDirUnderAMissingParentIsAFatalPathNotFound)
{
    EXPECT_THROW(uMkDir(path("missing/DatabaseJobs")), FatalExitCalled);
    EXPECT_FALSE(fs::exists(path("missing")));
    const std::string log = errorLog();
    EXPECT_NE(log.find("Description: ERR#76 @ Quorvex - Path not found\r\n"), std::string::npos)
        << log;
    EXPECT_NE(log.find("Module/Function: libFiles.bas/uMkDir().\r\n"), std::string::npos) << log;
}

// ---- FormatPath and the splitters ------------------------------------------------------------

TEST(FormatPath, AddsOrRemovesExactlyOneTrailingSeparator)
{
    struct Case
    {
        std::string in;
        bool add;
        std::string out;
    };
    for (const Case& c :
         {Case{"/data", true, "/data/"}, Case{"/data/", true, "/data/"},
          Case{"/data/", false, "/data"}, Case{"/data//", false, "/data/"},
          Case{"/data", false, "/data"}, Case{"", true, "/"}, Case{"", false, ""}}) {
        std::string path = c.in;
        FormatPath(path, c.add);
        EXPECT_EQ(path, c.out) << "'" << c.in << "' add=" << c.add;
    }
}

TEST(FilePathSplit, SplitsAtTheLastSeparator)
{
    EXPECT_EQ(FilePathStripFileName("/data/Orders.mdb"), "/data/");
    EXPECT_EQ(FilePathStripPath("/data/Orders.mdb"), "Orders.mdb");
    EXPECT_EQ(FilePathStripFileName("/data/backup/"), "/data/backup/");
    EXPECT_EQ(FilePathStripPath("/data/backup/"), "");
    EXPECT_EQ(FilePathStripFileName("/Orders.mdb"), "/");
}

TEST_F(FilesTest, FilePathStripPathWithoutSeparatorNamesItselfAsSource)
{
    EXPECT_THROW(FilePathStripPath("Orders.mdb"), FatalExitCalled);
    EXPECT_NE(errorLog().find("Description: ERR#-2147221503 @ FilePathStripPath() - "
                              "Error, no \\~s in path\r\n"),
              std::string::npos)
        << errorLog();
    EXPECT_NE(errorLog().find("Module/Function: libFiles.bas/FilePathStripPath().\r\n"),
              std::string::npos);
}

} // namespace
} // namespace quorvex::test

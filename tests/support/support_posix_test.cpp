// What the support layer does with what only POSIX systems have: pipes, permission bits and
// symbolic links met by INI files and deletes, a PATH searched for the desktop's opener, the
// desktop's file associations, and a locale chosen through LC_ALL as a user's session would.
#include "support/date_text.hpp"
#include "support/files.hpp"
#include "support/ini_file.hpp"
#include "support/preferences.hpp"

#include "fakes/case_table.hpp"
#include "fakes/scoped_env.hpp"
#include "fakes/test_environment.hpp"
#include "fakes/xdg_tree.hpp"

#include <locale.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;

// A missing file, a pipe or a folder give the default at once; a new file is its owner's only.
// A write puts a complete new file in the old one's place: a second hard link still shows the
// old content, the permissions and a symbolic link to the file stay, and no draft is left.
using PosixIniFileTest = AppDirTest;

TEST_F(PosixIniFileTest, PipesFoldersPermissionsAndLinksAreMetAsTheSystemHasThem)
{
    const std::string link = path("settings.ini");
    ASSERT_EQ(::mkfifo(path("pipe.ini").c_str(), 0600), 0);
    for (const std::string& from : {link, path("pipe.ini"), dir().string()}) {
        std::string result = "<untouched>";
        EXPECT_TRUE(GetIniData("S", "k", " exact default ", result, from));
        EXPECT_EQ(result, " exact default ") << from;
    }
    ASSERT_TRUE(WriteIniData("General", "Password", "secret", path("new.ini")));
    EXPECT_EQ(fs::status(path("new.ini")).permissions(), fs::perms(0600));

    writeFile(path("target.ini"), "[S]\nk=1\n");
    fs::permissions(path("target.ini"), fs::perms(0640));
    fs::create_symlink(path("target.ini"), link);
    fs::create_hard_link(path("target.ini"), path("old.ini"));
    ASSERT_TRUE(WriteIniData("S", "k", "2", link));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readFile(path("target.ini")), "[S]\nk=2\n");
    EXPECT_EQ(fs::status(path("target.ini")).permissions(), fs::perms(0640));
    EXPECT_EQ(readFile(path("old.ini")), "[S]\nk=1\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir()), fs::directory_iterator()), 5);
}

using PreferencesTest = AppDirTest;

// (Where Quorvex.ini and the jobs folder lie: StartUpTest.SilentStartMakesUpAMissedRun..., which
// reads both from the application directory.)
TEST_F(PreferencesTest, AMissingFileGivesTheDefaultsAndIsNotMade)
{
    // The browser is the desktop's opener as PATH finds it, or none.
    {
        const ScopedEnv onlyOurs("PATH", dir().string());
        LoadPreferences();
        EXPECT_EQ(preferences().IEPath, "");
        writeStubProgram(dir() / "xdg-open");
        LoadPreferences();
        EXPECT_EQ(preferences().IEPath, path("xdg-open"));
        EXPECT_EQ(preferences().StopOnError, -1);
        EXPECT_EQ(preferences().NumberCopies, 99);
    }
    EXPECT_FALSE(fs::exists(preferencesFilePath()));
}

// The user's locale's own month abbreviations; runs where a German locale is installed.
TEST(DateText, AcceptsTheUsersLocaleMonthAbbreviations)
{
    const locale_t german = newlocale(LC_TIME_MASK, "de_DE.UTF-8", locale_t{});
    if (!german)
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    freelocale(german);
    const ScopedEnv inGerman("LC_ALL", "de_DE.UTF-8");
    EXPECT_EQ(parseDate("Dez-05-2026"), at(2026, 12, 5));
    EXPECT_EQ(parseDate("OKT-5-2027"), at(2027, 10, 5));
    EXPECT_EQ(parseDate("Dec-05-2026"), at(2026, 12, 5));
}

fs::path accessProgram()
{
    return XdgEnvironment::root() / "Program Files/Microsoft Office/MSACCESS";
}

const auto* const g_associations =
    ::testing::AddGlobalTestEnvironment(new XdgEnvironment([](XdgTree& tree) {
        writeStubProgram(accessProgram());
        tree.associateExtension(".mdb", accessProgram().string());
        tree.associateExtension(".htm", "sh");
        // A program that was associated and is gone since.
        const fs::path vanished = XdgEnvironment::root() / "Old Programs/viewer";
        writeStubProgram(vanished);
        tree.associateExtension(".old", vanished.string());
        fs::remove(vanished);
        tree.defaultUnknownTypesTo(".mdb");
    }));

class FilesTest : public AppDirTest {
protected:
    // A read-only file.
    std::string touch(const std::string& name)
    {
        writeFile(dir() / name, "x");
        fs::permissions(dir() / name, fs::perms::owner_read);
        return path(name);
    }
};

TEST_F(FilesTest, UKillDeletesEveryMatchingFileReadOnlyAndHiddenIncludedAndNothingElse)
{
    const auto rows = readCaseTable(QUORVEX_TEST_DATA_DIR "/ukill.txt");
    for (const auto& row : rows)
        touch(row[0]);
    fs::create_directory(dir() / "Archive.zip");
    const std::string target = touch("Target.log");
    fs::create_symlink(target, path("Link.log"));
    // The last ones match nothing, and a bare folder is not every file in it.
    for (const char* pattern :
         {".orders.mdb", "*.zip", "Orders_?.tsk", "a[1].log", "*b.txt", "Link.log", "Orders_99.zip",
          "missing/Orders.mdb", "missing/*.mdb", ""})
        EXPECT_EQ(uKill(path(pattern)), 0) << pattern;

    for (const auto& row : rows)
        EXPECT_EQ(fs::exists(path(row[0])), row[1] == "kept") << row[0];
    EXPECT_TRUE(fs::is_directory(path("Archive.zip"))) << "folders are never deleted";
    EXPECT_FALSE(fs::is_symlink(path("Link.log")));
    ASSERT_TRUE(fs::exists(target)) << "a link goes, its target stays";
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read);
    EXPECT_EQ(m_desktop.doEventsCount(), 0);
    EXPECT_TRUE(m_desktop.boxes().empty());
}

// A delete that the system refuses ends the program after its report, as does a path without a
// separator or a folder whose parent is missing. The deleting child cannot override
// permissions: it drops to an unprivileged user when run as root.
TEST_F(FilesTest, UMkDirAndUKillEndTheProgramWhenTheSystemRefusesOrAPathHasNoSeparator)
{
    EXPECT_EQ(uMkDir(path("DatabaseJobs/")), 0);
    EXPECT_TRUE(fs::is_directory(path("DatabaseJobs")));
    const std::string job = touch("DatabaseJobs/Nightly.tsk");
    touch("NotAFolder");
    EXPECT_EQ(uMkDir(path("DatabaseJobs")), 0);
    EXPECT_EQ(uMkDir(path("NotAFolder")), 0);
    EXPECT_TRUE(fs::is_regular_file(path("NotAFolder")));
    EXPECT_EQ(m_desktop.doEventsCount(), 0);

    fs::permissions(dir(), fs::perms::all); // the child writes the error log
    fs::permissions(dir() / "DatabaseJobs", fs::perms(0505));
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(99);
        try {
            uKill(job);
        } catch (const FatalExitCalled&) {
            ::_exit(0);
        }
        ::_exit(1);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    EXPECT_EQ(status, 0) << "the program must end after the report";
    EXPECT_TRUE(fs::exists(job));

    EXPECT_THROW(uMkDir(path("missing/DatabaseJobs")), FatalExitCalled);
    EXPECT_FALSE(fs::exists(path("missing")));
    EXPECT_THROW(uKill("Orders.mdb"), FatalExitCalled);
    EXPECT_THROW(FilePathStripPath("Orders.mdb"), FatalExitCalled);
    EXPECT_EQ(m_desktop.boxes().size(), 3u);
    expectInErrorLog({"ERR#70 @ Quorvex - Permission denied", "libFiles.bas/uKill().",
                      "ERR#76 @ Quorvex - Path not found", "libFiles.bas/uMkDir().",
                      "ERR#-2147221503 @ FilePathStripFileName() - Error, no \\~s in path",
                      "libFiles.bas/FilePathStripFileName().",
                      "libFiles.bas/FilePathStripPath()."});
}

TEST_F(FilesTest, FindExecutableGivesTheFullUnquotedPathOfTheAssociatedProgramOrNothing)
{
    EXPECT_EQ(FindExecutable(touch("ORDERS.MDB")), accessProgram().string());
    const std::string program = FindExecutable(touch("Quorvex_Help.htm"));
    EXPECT_EQ(fs::path(program).filename(), "sh");
    EXPECT_TRUE(fs::path(program).is_absolute() && fs::exists(program)) << program;
    // Nothing, and nothing reported, without an existing associated program.
    EXPECT_EQ(FindExecutable(path("Missing.mdb")), "");
    EXPECT_EQ(FindExecutable(touch("notes.qqq")), "") << "unknown types have no program";
    EXPECT_EQ(FindExecutable(touch("picture.old")), "") << "the program is gone";
    EXPECT_TRUE(m_desktop.boxes().empty());
    EXPECT_FALSE(fs::exists(path("quorvex.err")));
}

} // namespace
} // namespace quorvex::test

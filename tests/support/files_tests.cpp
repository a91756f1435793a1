#include "fakes/case_table.hpp"
#include "fakes/test_environment.hpp"
#include "fakes/xdg_tree.hpp"
#include "support/files.hpp"

#include <sys/wait.h>
#include <unistd.h>

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;

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
    const auto rows = readCaseTable(QUORVEX_TEST_DATA_DIR "/ukill.txt");
    for (const auto& row : rows)
        touch(row[0], fs::perms::owner_read);
    fs::create_directory(dir() / "Archive.zip");
    const std::string target = touch("Target.log", fs::perms::owner_read);
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

TEST_F(FilesTest, FindExecutableGivesTheFullUnquotedPathOfTheAssociatedProgramOrNothing)
{
    EXPECT_EQ(FindExecutable(touch("TestForAccess.mdb")), accessProgram().string());
    EXPECT_EQ(FindExecutable(touch("ORDERS.MDB")), accessProgram().string());
    const std::string program = FindExecutable(touch("Quorvex_Help.htm"));
    EXPECT_TRUE(fs::path(program).is_absolute()) << program;
    EXPECT_EQ(fs::path(program).filename(), "sh");
    EXPECT_TRUE(fs::exists(program));
    // Nothing, and nothing reported, without an existing associated program.
    EXPECT_EQ(FindExecutable(path("Missing.mdb")), "");
    EXPECT_EQ(FindExecutable(touch("notes.qqq")), "") << "unknown types have no program";
    EXPECT_EQ(FindExecutable(touch("README")), "");
    EXPECT_EQ(FindExecutable(touch("picture.old")), "") << "the program is gone";
    EXPECT_TRUE(m_desktop.boxes().empty());
    EXPECT_FALSE(fs::exists(path("quorvex.err")));
}

TEST(PathTexts, FormatPathAddsOrRemovesOneTrailingSeparatorAndTheSplittersCutAtTheLastOne)
{
    for (const auto& c : readCaseTable(QUORVEX_TEST_DATA_DIR "/path_texts.txt")) {
        std::string result = c[1];
        if (c[0] == "FormatPath")
            FormatPath(result, c[2] == "1");
        else
            result =
                c[0] == "FilePathStripPath" ? FilePathStripPath(c[1]) : FilePathStripFileName(c[1]);
        EXPECT_EQ(result, c[3]) << c[0] << " '" << c[1] << "' " << c[2];
    }
}

} // namespace
} // namespace quorvex::test

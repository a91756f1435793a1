#include "execution/execute_job.hpp"

#include "execution_test.hpp"
#include "support/preferences.hpp"

#include <map>

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

class BackupTest : public ExecutionTest {
protected:
    void SetUp() override
    {
        ExecutionTest::SetUp();
        preferences().NumberCopies = 99;
        m_job.setJobName("Nightly Backup");
        m_job.setJobType(job_type::Backup);
        m_job.setBackupSourceMDB(source("Sales.mdb"));
        m_job.setBackupTargetDirectory(target().string());
        putFile(source("Sales.mdb"), "new");
        fs::create_directories(target());
    }

    std::string source(const std::string& name) const { return path("data/" + name); }
    fs::path target() const { return dir() / "backup"; }
    void putInTarget(const Files& files) const
    {
        for (const auto& [name, content] : files)
            putFile(target() / name, content);
    }
    // Every file of the target folder with its content.
    Files targetFiles() const
    {
        Files files;
        for (const auto& name : listing(target()))
            files[name] = readFile(target() / name);
        return files;
    }
    int16_t run() { return ExecuteDatabaseJobNow(m_job, m_display); }
    void useZip()
    {
        installFromBuild("zip");
        m_job.setCompress(true);
    }
    void useWorkgroup()
    {
        putFile(source("System.mdw"), "workgroup");
        m_job.setSecurity(true);
        m_job.setMDWFile(source("System.mdw"));
    }
    std::string members(const std::string& archive) const
    {
        return outputOf("unzip -l '" + (target() / archive).string() + "'");
    }
    void expectFailedWith(const std::string& line)
    {
        EXPECT_EQ(run(), -1);
        EXPECT_TRUE(m_job.Failure());
        EXPECT_EQ(logMessages().back(), line);
    }

    CDatabaseJob m_job;
};

// Rotation of plain copies

TEST_F(BackupTest, FirstRunIntoAnEmptyTargetWritesTheCopy)
{
    m_job.setNumberCopies(3);
    EXPECT_EQ(run(), 0);
    EXPECT_FALSE(m_job.Failure());
    EXPECT_EQ(targetFiles(), (Files{{"Sales.mdb", "new"}}));
}

TEST_F(BackupTest, KeepingThreeCopiesShiftsThemAndDeletesOlderOnes)
{
    m_job.setNumberCopies(3);
    putInTarget({{"Sales.mdb", "c0"},
                 {"Sales_1.mdb", "c1"},
                 {"Sales_2.mdb", "c2"},
                 {"Sales_3.mdb", "c3"},
                 {"Sales_4.mdb", "c4"},
                 {"Sales_5.mdb", "c5"}});
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(targetFiles(), (Files{{"Sales.mdb", "new"},
                                    {"Sales_1.mdb", "c0"},
                                    {"Sales_2.mdb", "c1"},
                                    {"Sales_3.mdb", "c2"}}));
}

TEST_F(BackupTest, KeepingNoCopiesDeletesEveryNumberedCopy)
{
    m_job.setNumberCopies(0);
    putInTarget({{"Sales.mdb", "c0"},
                 {"Sales_1.mdb", "c1"},
                 {"Sales_99.mdb", "c99"},
                 {"Sales_100.mdb", "c100"}});
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(targetFiles(), (Files{{"Sales.mdb", "new"}, {"Sales_100.mdb", "c100"}}));
}

TEST_F(BackupTest, CopiesAboveTheCopyLimitAreNeverTouched)
{
    preferences().NumberCopies = 3;
    m_job.setNumberCopies(5);
    putInTarget({{"Sales.mdb", "c0"},
                 {"Sales_1.mdb", "c1"},
                 {"Sales_2.mdb", "c2"},
                 {"Sales_3.mdb", "c3"},
                 {"Sales_4.mdb", "c4"}});
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(targetFiles(), (Files{{"Sales.mdb", "new"},
                                    {"Sales_1.mdb", "c0"},
                                    {"Sales_2.mdb", "c1"},
                                    {"Sales_3.mdb", "c2"},
                                    {"Sales_4.mdb", "c4"}}));
}

TEST_F(BackupTest, WorkgroupFileIsCopiedAndRotatedBesideTheDatabase)
{
    useWorkgroup();
    m_job.setNumberCopies(1);
    putInTarget({{"Sales.mdb", "c0"}, {"Sales_1.mdb", "c1"}, {"System.mdw", "w0"}});
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(targetFiles(), (Files{{"Sales.mdb", "new"},
                                    {"Sales_1.mdb", "c0"},
                                    {"System.mdw", "workgroup"},
                                    {"System_1.mdw", "w0"}}));
    EXPECT_EQ(logMessages(), (std::vector<std::string>{"-- Nightly Backup " + std::string(46, '-'),
                                                       "Backing Up   " + source("Sales.mdb"),
                                                       "Backing Up   " + source("System.mdw")}));
}

TEST_F(BackupTest, FileNameWithSeveralDotsKeepsThemAllAfterItsStem)
{
    m_job.setBackupSourceMDB(source("Sales.old.mdb"));
    putFile(source("Sales.old.mdb"), "new");
    m_job.setNumberCopies(2);
    putInTarget({{"Sales.old.mdb", "c0"}});
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(targetFiles(), (Files{{"Sales.old.mdb", "new"}, {"Sales_1.old.mdb", "c0"}}));
}

TEST_F(BackupTest, FileNameWithoutADotIsItsOwnStem)
{
    m_job.setBackupSourceMDB(source("Orders"));
    putFile(source("Orders"), "new");
    m_job.setNumberCopies(2);
    putInTarget({{"Orders", "c0"}, {"Orders_1", "c1"}});
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(targetFiles(), (Files{{"Orders", "new"}, {"Orders_1", "c0"}, {"Orders_2", "c1"}}));
}

TEST_F(BackupTest, FileNameWithALeadingDotKeepsItAndStillRotates)
{
    m_job.setBackupSourceMDB(source(".Sales.mdb"));
    putFile(source(".Sales.mdb"), "new");
    m_job.setNumberCopies(1);
    putInTarget({{".Sales.mdb", "c0"}});
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(targetFiles(), (Files{{".Sales.mdb", "new"}, {".Sales_1.mdb", "c0"}}));
}

TEST_F(BackupTest, CopyReplacesTheCurrentCopyWithoutWritingIntoIt)
{
    // A link to the old copy keeps the old content: the new copy is a new file renamed into
    // place, never the old one truncated and rewritten.
    m_job.setNumberCopies(0);
    putInTarget({{"Sales.mdb", "c0"}});
    fs::create_hard_link(target() / "Sales.mdb", dir() / "old-copy");
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(targetFiles(), (Files{{"Sales.mdb", "new"}}));
    EXPECT_EQ(readFile(dir() / "old-copy"), "c0");
}

TEST_F(BackupTest, FailedRenameOfTheCurrentCopyShowsTheFatalErrorBox)
{
    m_job.setNumberCopies(2);
    putInTarget({{"Sales.mdb", "c0"}});
    fs::create_directory(target() / "Sales_1.mdb");
    EXPECT_EQ(run(), -1);
    EXPECT_TRUE(m_job.Failure());
    ASSERT_EQ(m_desktop.boxes().size(), 1u);
    const auto& box = m_desktop.boxes().front();
    EXPECT_EQ(box.title, "Fatal Error");
    EXPECT_EQ(box.style, 48);
    EXPECT_EQ(box.text, "Fatal Error intercepted by Quorvex when renaming \r\n"
                        " your previous target file '" +
                            (target() / "Sales.mdb").string() +
                            ".\r\n\r\n"
                            "This is due most likely to the mdb file being locked \r\n"
                            "because you were just viewing the mdb file.  \r\n\r\n"
                            "The fix is to close all open mdb files you are \r\n"
                            "viewing.\r\n");
    EXPECT_EQ(readFile(target() / "Sales.mdb"), "c0");
}

TEST_F(BackupTest, CopyThatCannotBeWrittenIsAFatalErrorOfTheBackup)
{
    m_job.setBackupTargetDirectory("/proc");
    m_job.setNumberCopies(0);
    preferences().NumberCopies = 1;
    EXPECT_THROW(run(), FatalExitCalled);
    EXPECT_NE(readFile(path("quorvex.err")).find("CDatabaseJob.cls/ExecuteBackupNow()."),
              std::string::npos);
}

// Checks before anything is touched

TEST_F(BackupTest, MissingTargetDirectoryFailsTheRun)
{
    m_job.setBackupTargetDirectory(path("nowhere"));
    expectFailedWith("Quorvex Target Path does not exist: '" + path("nowhere") + "/'.");
}

TEST_F(BackupTest, MissingSourceFailsBeforeAnyCopyIsRotated)
{
    m_job.setNumberCopies(3);
    m_job.setBackupSourceMDB(source("Gone.mdb"));
    putInTarget({{"Gone.mdb", "c0"}});
    expectFailedWith("Quorvex Pre-Emptive Error, file to backup does not exist: '" +
                     source("Gone.mdb") + "'.");
    EXPECT_EQ(targetFiles(), (Files{{"Gone.mdb", "c0"}}));
}

TEST_F(BackupTest, SourceNameHoldingAWildcardIsRefusedBeforeOtherCopiesAreHarmed)
{
    m_job.setBackupSourceMDB(source("Sales?.mdb"));
    putFile(source("Sales?.mdb"), "new");
    m_job.setNumberCopies(0);
    putInTarget({{"Sales2_1.mdb", "other job"}, {"Sales2.mdb", "other job"}});
    expectFailedWith("Quorvex cannot back up a file whose name holds '*' or '?': '" +
                     source("Sales?.mdb") + "'.");
    EXPECT_EQ(listing(target()), (std::vector<std::string>{"Sales2.mdb", "Sales2_1.mdb"}));
}

TEST_F(BackupTest, SourceInTheTargetDirectoryFailsTheRun)
{
    m_job.setBackupTargetDirectory(path("data"));
    m_job.setNumberCopies(3);
    expectFailedWith("Source directory and target directory are the same: '" + path("data") +
                     "/'.");
    EXPECT_EQ(listing(dir() / "data"), std::vector<std::string>{"Sales.mdb"});
}

TEST_F(BackupTest, SameDirectoryWrittenAnotherWayIsCaught)
{
    fs::create_directory_symlink(dir() / "data", dir() / "alias");
    for (const std::string& spelling : {path("backup/../data"), path("alias"), path("data/.")}) {
        m_job.setBackupTargetDirectory(spelling);
        expectFailedWith("Source directory and target directory are the same: '" + spelling +
                         "/'.");
    }
    EXPECT_EQ(readFile(source("Sales.mdb")), "new");
    EXPECT_EQ(listing(dir() / "data"), std::vector<std::string>{"Sales.mdb"});
}

TEST_F(BackupTest, SourceThatLinksIntoTheTargetIsCaught)
{
    putInTarget({{"Sales.mdb", "original"}});
    fs::create_symlink(target() / "Sales.mdb", dir() / "Sales.mdb");
    m_job.setBackupSourceMDB(path("Sales.mdb"));
    m_job.setNumberCopies(0);
    expectFailedWith("Source directory and target directory are the same: '" + target().string() +
                     "/'.");
    EXPECT_EQ(targetFiles(), (Files{{"Sales.mdb", "original"}}));
}

TEST_F(BackupTest, ProgressShowsALongPathShortenedToFortyCharactersAndLogsItWhole)
{
    const std::string longSource = path("data/a-rather-long-folder-name/Sales.mdb");
    putFile(longSource, "new");
    m_job.setBackupSourceMDB(longSource);
    ASSERT_GE(longSource.size(), 40u);
    EXPECT_EQ(run(), 0);
    const std::string shown =
        longSource.substr(0, 3) + "..." + longSource.substr(longSource.size() - 34);
    EXPECT_EQ(m_display.texts().at(2), "Backing Up   " + shown);
    EXPECT_EQ(logMessages().back(), "Backing Up   " + longSource);
}

TEST_F(BackupTest, BadFileNameAsksForTheDisketteAndCancelEndsTheRun)
{
    const std::string tooLong = path("data/" + std::string(300, 'x') + ".mdb");
    m_job.setBackupSourceMDB(tooLong);
    m_desktop.answerNext(mb::Ok);
    m_desktop.answerNext(mb::Cancel);
    expectFailedWith("User cancelled out at error prompt to insert floppy disk.");
    ASSERT_EQ(m_desktop.boxes().size(), 2u);
    for (const auto& box : m_desktop.boxes()) {
        EXPECT_EQ(box.text, "Disk Error, please insert the diskette and try again.");
        EXPECT_EQ(box.title, "Disk Error");
        EXPECT_EQ(box.style, mb::OkCancel);
    }
}

// Zip mode

TEST_F(BackupTest, ZipModeRotatesArchivesAndWritesANewOne)
{
    useZip();
    m_job.setNumberCopies(2);
    putInTarget(
        {{"Sales.zip", "z0"}, {"Sales_1.zip", "z1"}, {"Sales_2.zip", "z2"}, {"Sales_3.zip", "z3"}});
    EXPECT_EQ(run(), 0);
    const Files files = targetFiles();
    EXPECT_EQ(listing(target()),
              (std::vector<std::string>{"Sales.zip", "Sales_1.zip", "Sales_2.zip"}));
    EXPECT_EQ(files.at("Sales_1.zip"), "z0");
    EXPECT_EQ(files.at("Sales_2.zip"), "z1");
    EXPECT_NE(members("Sales.zip").find("data/Sales.mdb"), std::string::npos);
    EXPECT_EQ(logMessages().back(), "Zipping Up   " + source("Sales.mdb"));
}

TEST_F(BackupTest, ZipModeKeepingNoCopiesLeavesOnlyTheNewArchive)
{
    useZip();
    m_job.setNumberCopies(0);
    putInTarget({{"Sales.zip", "z0"}, {"Sales_1.zip", "z1"}, {"Sales_7.zip", "z7"}});
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(listing(target()), std::vector<std::string>{"Sales.zip"});
}

TEST_F(BackupTest, ZipModeAboveTheCopyLimitNothingIsTouched)
{
    useZip();
    preferences().NumberCopies = 1;
    m_job.setNumberCopies(4);
    putInTarget({{"Sales.zip", "z0"}, {"Sales_1.zip", "z1"}, {"Sales_2.zip", "z2"}});
    EXPECT_EQ(run(), 0);
    const Files files = targetFiles();
    EXPECT_EQ(files.at("Sales_1.zip"), "z0");
    EXPECT_EQ(files.at("Sales_2.zip"), "z2");
    EXPECT_EQ(files.size(), 3u);
}

TEST_F(BackupTest, ZipModePutsTheWorkgroupFileIntoTheSameArchive)
{
    useZip();
    useWorkgroup();
    m_job.setNumberCopies(1);
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(listing(target()), std::vector<std::string>{"Sales.zip"});
    const std::string listed = members("Sales.zip");
    EXPECT_NE(listed.find("data/Sales.mdb"), std::string::npos);
    EXPECT_NE(listed.find("data/System.mdw"), std::string::npos);
    EXPECT_EQ(logMessages(), (std::vector<std::string>{"-- Nightly Backup " + std::string(46, '-'),
                                                       "Zipping Up   " + source("Sales.mdb"),
                                                       "Zipping Up   " + source("System.mdw")}));
}

TEST_F(BackupTest, ZipModeNameWithoutADotGivesTheArchiveItsWholeName)
{
    useZip();
    m_job.setBackupSourceMDB(source("Orders"));
    putFile(source("Orders"), "new");
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(listing(target()), std::vector<std::string>{"Orders.zip"});
}

TEST_F(BackupTest, ZipModeMissingWorkgroupFileCostsNoEarlierArchive)
{
    useZip();
    useWorkgroup();
    fs::remove(source("System.mdw"));
    m_job.setNumberCopies(2);
    putInTarget({{"Sales.zip", "z0"}, {"Sales_1.zip", "z1"}});
    expectFailedWith("Quorvex Pre-Emptive Error, file to backup does not exist: '" +
                     source("System.mdw") + "'.");
    EXPECT_EQ(targetFiles(), (Files{{"Sales.zip", "z0"}, {"Sales_1.zip", "z1"}}));
}

TEST_F(BackupTest, ZipModeSourceInTheTargetCostsNoEarlierArchive)
{
    useZip();
    putFile(target() / "Sales.mdb", "new");
    m_job.setBackupSourceMDB((target() / "Sales.mdb").string());
    m_job.setNumberCopies(0);
    putInTarget({{"Sales.zip", "z0"}, {"Sales_1.zip", "z1"}});
    expectFailedWith("Source directory and target directory are the same: '" + target().string() +
                     "/'.");
    EXPECT_EQ(targetFiles(),
              (Files{{"Sales.mdb", "new"}, {"Sales.zip", "z0"}, {"Sales_1.zip", "z1"}}));
}

TEST_F(BackupTest, ZipModeWithoutTheArchiverLogsTheStartFailure)
{
    m_job.setCompress(true);
    expectFailedWith("Unhandled Error#-2147221451 has occurred for file item '" +
                     source("Sales.mdb") + "'.");
}

} // namespace
} // namespace quorvex::test

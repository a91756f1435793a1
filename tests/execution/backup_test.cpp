#include "execution/execute_job.hpp"
#include "execution/file_copy.hpp"

#include "execution_test.hpp"
#include "platform/file_lock.hpp"
#include "support/error.hpp"
#include "support/preferences.hpp"
#include "support/transaction_log.hpp"

#include <algorithm>
#include <csignal>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;
using Lines = std::vector<std::string>;

class BackupTest : public ExecutionTest {
protected:
    // A copy hook left behind by a failed case must not reach the next test.
    void TearDown() override
    {
        setCopyProgressHook({});
        ExecutionTest::TearDown();
    }
    // A job that backs data/<name> ("new") up into the empty folder backup/, keeping the copies
    // asked for under the copy limit, and an empty log; every case starts with it.
    void fresh(const std::string& name = "Sales.mdb", int16_t keep = 3, int16_t limit = 99)
    {
        for (const char* leftover : {"data", "backup", "zip", "Sales.mdb", "old-copy"})
            fs::remove_all(dir() / leftover);
        fs::remove(transactionLogPath());
        preferences().NumberCopies = limit;
        m_job = {};
        m_job.setJobName("Nightly Backup");
        m_job.setJobType(job_type::Backup);
        m_job.setBackupSourceMDB(source(name));
        m_job.setBackupTargetDirectory(target().string());
        m_job.setNumberCopies(keep);
        putFile(source(name), "new");
        fs::create_directories(target());
    }
    // "name:content name:content ..." as files.
    static Files folder(const std::string& text)
    {
        Files files;
        std::istringstream items(text);
        for (std::string item; items >> item;)
            files[item.substr(0, item.find(':'))] = item.substr(item.find(':') + 1);
        return files;
    }
    std::string source(const std::string& name) const { return path("data/" + name); }
    fs::path target() const { return dir() / "backup"; }
    void putInTarget(const std::string& files) const
    {
        for (const auto& [name, content] : folder(files))
            putFile(target() / name, content);
    }
    // Every file below the folder but the log, with its content.
    Files filesBelow(const fs::path& folder) const
    {
        Files files;
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            std::error_code loop; // a link that cannot be followed is no file
            if (!entry.is_directory(loop) && !loop && entry.path() != transactionLogPath())
                files[fs::relative(entry.path(), folder).string()] = readFile(entry.path());
        }
        return files;
    }
    int16_t run() { return ExecuteDatabaseJobNow(m_job, m_display); }
    // The run's result, or "fatal" when it ended the program.
    std::string outcome()
    {
        try {
            return std::to_string(run());
        } catch (const FatalExitCalled&) {
            return "fatal";
        }
    }
    // Runs the backup in a child process, arranged by arrange(readyFd), until the moment it
    // marks by writing a byte to readyFd; then kills the child with SIGKILL, as a crash or a
    // power cut would end the agent.
    void runKilled(const std::function<void(int readyFd)>& arrange)
    {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::setpgid(0, 0); // its own group, so the kill reaches the programs it started
            ::close(ready[0]);
            arrange(ready[1]);
            run();
            ::_exit(0);
        }
        ::close(ready[1]);
        char byte = 0;
        EXPECT_EQ(::read(ready[0], &byte, 1), 1) << "the child ended before its moment";
        ::close(ready[0]);
        ::kill(-child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status));
    }
    // clang-format off
    void useZip() { installFromBuild("zip"); m_job.setCompress(true); }
    void useWorkgroup() { putFile(source("System.mdw"), "workgroup");
                          m_job.setSecurity(true); m_job.setMDWFile(source("System.mdw")); }
    // clang-format on

    CDatabaseJob m_job;
};

// K copies kept under a copy limit M: copy n-1 becomes copy n up to K, the copies above K up
// to M are deleted, those above M never touched. Folders are written "name:content ..."; a new
// archive stands as "zip" once its members have been listed. A link to the current copy keeps
// its content: the new copy is a new file renamed into place, never the old one rewritten.
TEST_F(BackupTest, RotationKeepsTheCopiesAskedForAndWritesTheNewOne)
{
    // clang-format off
    struct Row { const char* name; bool zip, workgroup; int16_t keep, limit; const char *before, *after; };
    const std::vector<Row> rows = {
        {"Sales.mdb", false, false, 3, 99, "", "Sales.mdb:new"},
        {"Sales.mdb", false, false, 3, 99, "Sales.mdb:c0 Sales_1.mdb:c1 Sales_2.mdb:c2 Sales_3.mdb:c3 Sales_4.mdb:c4 Sales_5.mdb:c5",
         "Sales.mdb:new Sales_1.mdb:c0 Sales_2.mdb:c1 Sales_3.mdb:c2"},
        {"Sales.mdb", false, false, 0, 99, "Sales.mdb:c0 Sales_1.mdb:c1 Sales_99.mdb:c99 Sales_100.mdb:c100", "Sales.mdb:new Sales_100.mdb:c100"},
        // A negative count, which only a hand-edited job file holds, keeps none as 0 does.
        {"Sales.mdb", false, false, -2, 99, "Sales.mdb:c0 Sales_1.mdb:c1", "Sales.mdb:new"},
        {"Sales.mdb", false, false, 5, 3, "Sales.mdb:c0 Sales_1.mdb:c1 Sales_2.mdb:c2 Sales_3.mdb:c3 Sales_4.mdb:c4",
         "Sales.mdb:new Sales_1.mdb:c0 Sales_2.mdb:c1 Sales_3.mdb:c2 Sales_4.mdb:c4"},
        {"Sales.mdb", false, true, 1, 99, "Sales.mdb:c0 Sales_1.mdb:c1 System.mdw:w0", "Sales.mdb:new Sales_1.mdb:c0 System.mdw:workgroup System_1.mdw:w0"},
        {"Sales.old.mdb", false, false, 2, 99, "Sales.old.mdb:c0", "Sales.old.mdb:new Sales_1.old.mdb:c0"},
        {"Orders", false, false, 2, 99, "Orders:c0 Orders_1:c1", "Orders:new Orders_1:c0 Orders_2:c1"},
        {".Sales.mdb", false, false, 1, 99, ".Sales.mdb:c0", ".Sales.mdb:new .Sales_1.mdb:c0"},
        {"Sales.mdb", true, false, 2, 99, "Sales.zip:z0 Sales_1.zip:z1 Sales_2.zip:z2 Sales_3.zip:z3", "Sales.zip:zip Sales_1.zip:z0 Sales_2.zip:z1"},
        {"Sales.mdb", true, false, 0, 99, "Sales.zip:z0 Sales_1.zip:z1 Sales_7.zip:z7", "Sales.zip:zip"},
        {"Sales.mdb", true, false, 4, 1, "Sales.zip:z0 Sales_1.zip:z1 Sales_2.zip:z2", "Sales.zip:zip Sales_1.zip:z0 Sales_2.zip:z2"},
        {"Sales.mdb", true, true, 1, 99, "", "Sales.zip:zip"},
        {"Orders", true, false, 0, 99, "", "Orders.zip:zip"},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "row " << &row - rows.data());
        fresh(row.name, row.keep, row.limit);
        if (row.zip)
            useZip();
        if (row.workgroup)
            useWorkgroup();
        const Lines names = row.workgroup ? Lines{row.name, "System.mdw"} : Lines{row.name};
        putInTarget(row.before);
        const std::string current = folder(row.before)[row.name];
        if (!current.empty())
            fs::create_hard_link(target() / row.name, dir() / "old-copy");
        EXPECT_EQ(run(), 0);
        EXPECT_FALSE(m_job.Failure());
        Files after = filesBelow(target());
        for (auto& [archive, content] : after)
            if (content.starts_with("PK")) {
                const std::string members = zipMembers(target() / archive);
                for (const auto& name : names)
                    EXPECT_NE(members.find("data/" + name), std::string::npos) << members;
                content = "zip";
            }
        EXPECT_EQ(after, folder(row.after));
        EXPECT_EQ(readFile(dir() / "old-copy"), current);
        Lines log = {logMessages().front()};
        for (const auto& name : names)
            log.push_back((row.zip ? "Zipping Up   " : "Backing Up   ") + source(name));
        EXPECT_EQ(logMessages(), log);
    }
}

// The new copy is written whole before any earlier copy is touched. A run that is killed while
// copying or zipping leaves every earlier copy under its own name, as a failed copy does
// (EnvironmentFailure...); the next run removes what the killed one left (its own partial copy,
// zip's temporary file, the target's lock file) and rotates as if it had never been.
TEST_F(BackupTest, KilledRunKeepsEveryEarlierCopyAndTheNextRunClearsItsLeftovers)
{
    const std::string big(3 << 20, 'n');
    // A zip that leaves a temporary file and half an archive beside the archive, as Info-ZIP's
    // does, then tells the test that it runs and waits to be killed.
    const std::string hangingZip = "#!/bin/sh\n"
                                   "dir=$(dirname \"$5\")\n"
                                   "echo partial >\"$dir/ziXq3v1a\"\necho partial >\"$5\"\n"
                                   "printf x >&3\nexec sleep 600\n";
    const auto pauseAfterFirstBlock = [](int readyFd) {
        setCopyProgressHook([readyFd](uint64_t) {
            (void)!::write(readyFd, "x", 1);
            ::pause();
        });
    };
    // The zip script inherits the pipe as descriptor 3.
    const auto zipTellsWhenItRuns = [&](int readyFd) {
        ::dup2(readyFd, 3);
        writeFile(path("zip"), hangingZip);
        fs::permissions(path("zip"), fs::perms::owner_all);
    };
    for (const bool zip : {false, true}) {
        SCOPED_TRACE(zip ? "killed while zipping" : "killed while copying");
        fresh();
        putFile(source("Sales.mdb"), big);
        const Files before =
            folder(zip ? "Sales.zip:z0 Sales_1.zip:z1 Sales_2.zip:z2 Sales_3.zip:z3"
                       : "Sales.mdb:c0 Sales_1.mdb:c1 Sales_2.mdb:c2 Sales_3.mdb:c3");
        for (const auto& [name, content] : before)
            putFile(target() / name, content);
        m_job.setCompress(zip);
        runKilled(zip ? std::function<void(int)>(zipTellsWhenItRuns) : pauseAfterFirstBlock);
        setCopyProgressHook({});
        Files after = filesBelow(target());
        EXPECT_EQ(after.size(), before.size() + (zip ? 3 : 2));
        for (const auto& [name, content] : before)
            EXPECT_EQ(after[name], content) << name;

        if (zip)
            useZip();
        EXPECT_EQ(run(), 0);
        after = filesBelow(target());
        Files expected = folder(zip ? "Sales.zip:zip Sales_1.zip:z0 Sales_2.zip:z1 Sales_3.zip:z2"
                                    : "Sales_1.mdb:c0 Sales_2.mdb:c1 Sales_3.mdb:c2");
        if (zip && after["Sales.zip"].starts_with("PK"))
            after["Sales.zip"] = "zip";
        else if (!zip)
            expected["Sales.mdb"] = big;
        EXPECT_EQ(after, expected);
    }
}

// With the check on, a new copy or archive that does not read back as written fails the run
// before the rotation, so every earlier copy stays; a sound one is logged as verified.
TEST_F(BackupTest, CheckedBackupThatDoesNotReadBackFailsBeforeTheRotation)
{
    // A zip that writes the archive and then loses most of it, as a failing disk might.
    const std::string truncatingZip = "#!/bin/sh\n\"${0%/*}/zip.real\" \"$@\" || exit $?\n"
                                      "[ \"$1\" = -T ] || truncate -s 100 \"$5\"\n";
    preferences().VerifyBackups = -1;
    for (const bool zip : {false, true})
        for (const bool spoiled : {false, true}) {
            SCOPED_TRACE(testing::Message() << "zip " << zip << ", spoiled " << spoiled);
            fresh();
            const std::string copy = zip ? "Sales.zip" : "Sales.mdb";
            const std::string earlier =
                zip ? "Sales.zip:z0 Sales_1.zip:z1" : "Sales.mdb:c0 Sales_1.mdb:c1";
            putInTarget(earlier);
            if (zip) {
                useZip();
                fs::rename(path("zip"), path("zip.real"));
                if (spoiled) {
                    writeFile(path("zip"), truncatingZip);
                    fs::permissions(path("zip"), fs::perms::owner_all);
                } else {
                    fs::rename(path("zip.real"), path("zip"));
                }
            } else if (spoiled) {
                // The copy is changed on disk between its writing and its check.
                setCopyProgressHook([this](uint64_t) {
                    std::ofstream(target() / ".Sales.mdb.partial" / "Sales.mdb",
                                  std::ios::in | std::ios::out | std::ios::binary)
                        << "X";
                });
            }
            EXPECT_EQ(run(), spoiled ? -1 : 0);
            setCopyProgressHook({});
            const std::string current = (target() / copy).string();
            const std::string line =
                spoiled ? (zip ? "Quorvex Verification Error, the new archive failed zip's test: '"
                               : "Quorvex Verification Error, the new copy does not match its "
                                 "source: '") +
                              current + "'."
                        : "Verified     " + current;
            const Lines log = logMessages();
            EXPECT_NE(std::find(log.begin(), log.end(), line), log.end());
            if (spoiled)
                EXPECT_EQ(filesBelow(target()), folder(earlier));
            else
                EXPECT_EQ(filesBelow(target()).size(), 3u);
        }
}

// A failure of what the job works on (a link that cannot be followed, a folder it may not
// write, a full disk) ends only this run: its line names the path, the error log gets a
// non-fatal entry, no box waits for an answer, and nothing in the target has changed.
TEST_F(BackupTest, EnvironmentFailureEndsOnlyTheRunWithItsLineAndANonFatalEntry)
{
    const std::string loopError = "Quorvex Run Error #75 - Path/File access error: '";
    // clang-format off
    std::vector<std::function<std::string()>> rows = {
        [&] { fs::create_symlink("loop", target() / "loop"); m_job.setBackupTargetDirectory((target() / "loop").string());
              return loopError + (target() / "loop/").string() + "'."; },
        [&] { fs::create_symlink("loop", dir() / "data/loop"); m_job.setBackupSourceMDB(source("loop/Sales.mdb"));
              return loopError + source("loop/Sales.mdb") + "'."; },
        [&] { setCopyProgressHook([](uint64_t) { throw RuntimeError::fromErrno(ENOSPC); });
              return "Quorvex Run Error #61 - Disk full: '" + (target() / ".Sales.mdb.partial/Sales.mdb").string() + "'."; },
    };
    // Root may write anywhere.
    if (::geteuid() != 0)
        rows.push_back([&] { fs::permissions(target(), fs::perms::owner_read | fs::perms::owner_exec);
                             return "Quorvex Run Error #70 - Permission denied: '" + (target() / ".Sales.mdb.partial").string() + "'."; });
    // clang-format on
    for (const auto& arrange : rows) {
        fresh();
        putInTarget("Sales.mdb:c0 Sales_1.mdb:c1");
        const std::string line = arrange();
        SCOPED_TRACE(line);
        fs::remove(path("quorvex.err"));
        const Files before = filesBelow(dir());
        EXPECT_EQ(outcome(), "-1");
        setCopyProgressHook({});
        fs::permissions(target(), fs::perms::owner_all);
        EXPECT_TRUE(m_job.Failure());
        EXPECT_EQ(logMessages().back(), line);
        expectInErrorLog({"Severity:    Non-Fatal", "CDatabaseJob.cls/ExecuteBackupNow()."});
        fs::remove(path("quorvex.err"));
        EXPECT_EQ(filesBelow(dir()), before);
    }
    EXPECT_TRUE(m_desktop.boxes().empty());
}

// When the disk is too full for the new copy, the copies that the rotation would delete
// anyway go first and the copy is tried once more; no other copy is given up.
TEST_F(BackupTest, DiskTooFullForTheNewCopyGivesUpOnlyTheCopiesTheRotationDeletesAnyway)
{
    // clang-format off
    struct Row { int16_t keep; int fullDiskWrites; const char *before, *after; const char* result; int16_t limit = 99; };
    const std::vector<Row> rows = {
        {3, 1, "Sales.mdb:c0 Sales_1.mdb:c1 Sales_2.mdb:c2 Sales_3.mdb:c3 Sales_4.mdb:c4", "Sales.mdb:new Sales_1.mdb:c0 Sales_2.mdb:c1 Sales_3.mdb:c2", "0"},
        {3, 2, "Sales.mdb:c0 Sales_1.mdb:c1 Sales_2.mdb:c2 Sales_3.mdb:c3 Sales_4.mdb:c4", "Sales.mdb:c0 Sales_1.mdb:c1 Sales_2.mdb:c2", "-1"},
        {0, 1, "Sales.mdb:c0 Sales_1.mdb:c1", "Sales.mdb:new", "0"},
        // A copy limit below 1 (a hand-edited Quorvex.ini) rotates nothing and drops nothing.
        {3, 2, "Sales.mdb:c0 Sales_-1.mdb:c-1", "Sales.mdb:c0 Sales_-1.mdb:c-1", "-1", -1},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.before + std::string(" -> ") + row.after);
        fresh("Sales.mdb", row.keep, row.limit);
        putInTarget(row.before);
        int writes = 0;
        setCopyProgressHook([&](uint64_t) {
            if (++writes <= row.fullDiskWrites)
                throw RuntimeError::fromErrno(ENOSPC);
        });
        EXPECT_EQ(outcome(), row.result);
        setCopyProgressHook({});
        EXPECT_EQ(filesBelow(target()), folder(row.after));
    }
}

// A run into a target that another run holds waits for it while the clock moves on, then gives
// up with its line before it has touched anything.
TEST_F(BackupTest, RunIntoATargetAnotherRunHoldsGivesUpAfterFiveMinutes)
{
    fresh();
    putInTarget("Sales.mdb:c0 Sales_1.mdb:c1");
    ExclusiveFileLock otherRun((target() / ".quorvex-backup.lock").string());
    ASSERT_TRUE(otherRun.tryLock());
    const Files before = filesBelow(dir());
    // The clock moves ten seconds whenever the run lets events run; its wait is the time
    // between the line it logs before waiting and the line it gives up with.
    std::map<size_t, DateTime> clockAtLine;
    m_desktop.onDoEvents([&] {
        clockAtLine.emplace(logMessages().size(), m_clock.now());
        m_clock.advanceSeconds(10);
    });
    EXPECT_EQ(run(), -1);
    EXPECT_EQ(logMessages().back(),
              "Quorvex Target Path is in use by another backup: '" + target().string() + "/'.");
    EXPECT_EQ(filesBelow(dir()), before);
    EXPECT_EQ(clockAtLine.at(3).serialSeconds() - clockAtLine.at(2).serialSeconds(), 300);
}

// Every check that fails ends the run before any file has been touched; each row arranges
// its case and returns the line the run ends with.
TEST_F(BackupTest, FailedCheckEndsTheRunBeforeAnyFileIsTouched)
{
    const std::string noTarget = "Quorvex Target Path does not exist: '";
    const std::string missing = "Quorvex Pre-Emptive Error, file to backup does not exist: '";
    const std::string same = "Source directory and target directory are the same: '";
    // clang-format off
    std::vector<std::function<std::string()>> rows = {
        [&] { m_job.setBackupTargetDirectory(path("nowhere")); return noTarget + path("nowhere/") + "'."; },
        [&] { m_job.setBackupSourceMDB(""); return missing + "'."; },
        [&] { useZip(); m_job.setBackupSourceMDB(""); return missing + "'."; },
        // A short target is a folder like any other; only a Windows drive root is not tested.
        [&] { m_job.setBackupTargetDirectory("/q/"); return noTarget + "/q/'."; },
        // Only a hand-edited job file can leave the target empty.
        [&] { putFile(dir() / "job.tsk", "[General]\nJobType=3\n[Backup]\nDatabaseFile=" + source("Sales.mdb") +
                                         "\nTargetPath=\nCompress=0\n");
              m_job.OpenDatabaseJob(path("job.tsk")); return noTarget + "'."; },
        [&] { m_job.setBackupSourceMDB(source("Gone.mdb")); putInTarget("Gone.mdb:c0");
              return missing + source("Gone.mdb") + "'."; },
        [&] { fresh("Sales?.mdb"); putInTarget("Sales2_1.mdb:other Sales2.mdb:other");
              return "Quorvex cannot back up a file whose name holds '*' or '?': '" + source("Sales?.mdb") + "'."; },
        [&] { putInTarget("Sales.mdb:original"); m_job.setBackupSourceMDB(path("Sales.mdb"));
              fs::create_symlink(target() / "Sales.mdb", dir() / "Sales.mdb");
              return same + target().string() + "/'."; },
        [&] { useZip(); useWorkgroup(); fs::remove(source("System.mdw")); putInTarget("Sales.zip:z0 Sales_1.zip:z1");
              return missing + source("System.mdw") + "'."; },
        [&] { useZip(); putInTarget("Sales.mdb:new Sales.zip:z0 Sales_1.zip:z1");
              m_job.setBackupSourceMDB((target() / "Sales.mdb").string());
              return same + target().string() + "/'."; },
        // The new copy cannot take the place of a folder; found before the rotation.
        [&] { putInTarget("Sales_1.mdb:c1"); fs::create_directory(target() / "Sales.mdb");
              return "Quorvex cannot put the new copy in the place of a folder: '" + (target() / "Sales.mdb").string() + "'."; },
        [&] { useZip(); putInTarget("Sales_1.zip:z1"); fs::create_directory(target() / "Sales.zip");
              return "Quorvex cannot put the new copy in the place of a folder: '" + (target() / "Sales.zip").string() + "'."; },
        // An entry that the deletion of old copies leaves, such as a link to a folder, is never
        // replaced.
        [&] { putInTarget("Sales.mdb:c0"); fs::create_directory_symlink(dir() / "data", target() / "Sales_1.mdb");
              return "Backing Up   " + source("Sales.mdb"); },
        [&] { m_job.setBackupSourceMDB(source(std::string(300, 'x') + ".mdb"));
              m_desktop.answerNext(mb::Ok); m_desktop.answerNext(mb::Cancel);
              return std::string("User cancelled out at error prompt to insert floppy disk."); },
        [&] { m_job.setCompress(true);
              return "Unhandled Error#-2147221451 has occurred for file item '" + source("Sales.mdb") + "'."; },
    };
    fs::create_directory_symlink(dir() / "data", dir() / "alias");
    for (const std::string folder : {"data", "backup/../data", "alias", "data/."})
        rows.push_back([&, folder] { m_job.setBackupTargetDirectory(path(folder)); return same + path(folder) + "/'."; });
    // clang-format on
    for (const auto& arrange : rows) {
        fresh();
        const std::string line = arrange();
        SCOPED_TRACE(line);
        const Files before = filesBelow(dir());
        EXPECT_EQ(run(), -1);
        EXPECT_TRUE(m_job.Failure());
        EXPECT_EQ(filesBelow(dir()), before);
        EXPECT_EQ((Lines{logMessages().back(), m_display.texts.back(), m_display.lights}),
                  (Lines{line, "", "1001"}));
    }
    // The failed rename of the current copy tells how to fix it (its one home); a bad file name
    // asks for the diskette until the user cancels.
    Lines boxes;
    for (const auto& box : m_desktop.boxes())
        boxes.push_back(box.title + " " + std::to_string(box.style) + ": " + box.text);
    const std::string disk = "Disk Error " + std::to_string(mb::OkCancel) +
                             ": Disk Error, please insert the diskette and try again.";
    EXPECT_EQ(boxes, (Lines{"Fatal Error 48: Fatal Error intercepted by Quorvex when renaming \r\n"
                            " your previous target file '" +
                                (target() / "Sales.mdb").string() +
                                ".\r\n\r\nThis is due most likely to the mdb file being locked \r\n"
                                "because you were just viewing the mdb file.  \r\n\r\n"
                                "The fix is to close all open mdb files you are \r\nviewing.\r\n",
                            disk, disk}));
}

// A hand-edited target without its final separator is the folder, not a prefix of names
// beside it.
TEST_F(BackupTest, TargetWithoutFinalSeparatorIsTheFolder)
{
    fresh();
    putFile(dir() / "job.tsk",
            "[General]\nJobType=3\n[Backup]\nDatabaseFile=" + source("Sales.mdb") +
                "\nTargetPath=" + target().string() + "\nCompress=0\n");
    m_job.OpenDatabaseJob(path("job.tsk"));
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(filesBelow(target()).size(), 1u);
    EXPECT_FALSE(fs::exists(dir() / "backupSales.mdb"));
}

// Counted in characters: umlauts where the cut falls are never split.
TEST_F(BackupTest, ProgressShowsALongPathShortenedToFortyCharactersAndLogsItWhole)
{
    const std::string umlauts = "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F";
    const std::string folder = "a-rather-long-folder-name-" + umlauts + umlauts + umlauts + umlauts;
    fresh(folder + "/Sales.mdb");
    const std::string whole = source(folder + "/Sales.mdb");
    EXPECT_EQ(run(), 0);
    // The last 34 characters: the 10 of "/Sales.mdb", the 16 umlauts before them and 8 more of
    // the folder's name.
    const std::string shown =
        whole.substr(0, 3) + "...er-name-" + umlauts + umlauts + umlauts + umlauts + "/Sales.mdb";
    EXPECT_EQ((Lines{m_display.texts.at(2), logMessages().back()}),
              (Lines{"Backing Up   " + shown, "Backing Up   " + whole}));
}

} // namespace
} // namespace quorvex::test

#include "execution/content_check.hpp"
#include "execution/execute_job.hpp"
#include "execution/file_copy.hpp"
#include "execution/zip_step.hpp"

#include "execution_test.hpp"
#include "fakes/case_table.hpp"
#include "platform/file_lock.hpp"
#include "support/app_info.hpp"
#include "support/error.hpp"
#include "support/preferences.hpp"

#include <algorithm>
#include <csignal>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;
using Lines = std::vector<std::string>;

class BackupTest : public ExecutionTest {
protected:
    // The backup job of a row of backup_runs.txt, read from a job file as a hand-edited one may
    // hold it, in a folder that holds nothing else but the row's files, the source ("new")
    // and, for an archive, zip. Each earlier copy gets a hard link in links/, which shows
    // whether it was ever rewritten in place.
    void fresh(const CaseFields& row)
    {
        m_otherRun.reset();
        for (const auto& entry : fs::directory_iterator(dir()))
            fs::remove_all(entry.path());
        preferences().NumberCopies = static_cast<int16_t>(std::stoi(row[6]));
        for (const char* folder : {"backup", "links", "data"})
            fs::create_directories(dir() / folder);
        if (row[3] == "zip")
            installFromBuild("zip");
        lay(row[7]);
        std::error_code ignored;
        fs::create_directories(fs::path(inDir(row[1])).parent_path(), ignored);
        if (!row[1].empty() && !fs::exists(inDir(row[1]), ignored))
            std::ofstream(inDir(row[1])) << "new";
        for (const auto& entry : fs::directory_iterator(target()))
            if (entry.symlink_status().type() == fs::file_type::regular)
                fs::create_hard_link(entry.path(), dir() / "links" / entry.path().filename());
        writeFile(
            path("job.tsk"),
            "[General]\nJobType=3\n[Security]\nSecurityUsed=" +
                std::string(row[4].empty() ? "0" : "-1") + "\nMDWFile=" + inDir(row[4]) +
                "\n[Backup]\nDatabaseFile=" + inDir(row[1]) + "\nTargetPath=" + inDir(row[2]) +
                "\nCompress=" + (row[3] == "zip" ? "-1" : "0") + "\nNumberCopies=" + row[5] + "\n");
        m_job.OpenDatabaseJob(path("job.tsk"));
    }
    // A path of the table: relative to the folder, unless empty or absolute.
    std::string inDir(const std::string& name) const
    {
        return name.empty() || name.front() == '/' ? name : path(name);
    }
    fs::path target() const { return dir() / "backup"; }
    // The text of the table with its folder in the place of "{dir}".
    std::string withDir(const std::string& text) const
    {
        return std::regex_replace(text, std::regex("\\{dir\\}"), dir().string());
    }
    // "name:content" files, "name/" folders and "name->where" links, apart by blanks, below
    // backup/.
    void lay(const std::string& items) const
    {
        std::istringstream in(items);
        for (std::string item; in >> item;) {
            if (const auto arrow = item.find("->"); arrow != std::string::npos)
                fs::create_symlink(item.substr(arrow + 2), target() / item.substr(0, arrow));
            else if (item.ends_with('/'))
                fs::create_directories(target() / item);
            else
                putFile(target() / item.substr(0, item.find(':')), item.substr(item.find(':') + 1));
        }
    }
    // Every file below the folder but the logs and zip, with its content.
    Files filesBelow(const fs::path& folder) const
    {
        Files files;
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            std::error_code loop; // a link that cannot be followed is no file
            const std::string name = entry.path().filename().string();
            if (!entry.is_directory(loop) && !loop && entry.path() != transactionLogPath() &&
                name != "quorvex.err" && !name.starts_with("zip"))
                files[fs::relative(entry.path(), folder).string()] = readFile(entry.path());
        }
        return files;
    }
    int16_t run() { return ExecuteDatabaseJobNow(m_job, m_display); }
    // Runs the backup in a child process, arranged by arrange(readyFd), until the moment it
    // marks by writing a byte to readyFd; then kills the child with SIGKILL, as a crash or a
    // power cut would end the agent. Every earlier copy stays under its own name, and what
    // the run leaves is for the next run to clear.
    void runKilled(const std::function<void(int readyFd)>& arrange)
    {
        const Files before = filesBelow(target());
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
        const Files after = filesBelow(target());
        EXPECT_TRUE(std::includes(after.begin(), after.end(), before.begin(), before.end()));
        EXPECT_GT(after.size(), before.size());
    }
    // What the condition of a row arranges before the run.
    void arrange(const std::string& condition)
    {
        const auto fullDisk = [](int writes) {
            setCopyProgressHook([writes, count = 0](uint64_t) mutable {
                if (++count <= writes)
                    throw RuntimeError::fromErrno(ENOSPC);
            });
        };
        const std::map<std::string, std::function<void()>> conditions = {
            {"-", [] {}},
            {"source gone", [&] { fs::remove(m_job.BackupSourceMDB()); }},
            {"disk full once", [&] { fullDisk(1); }},
            {"disk full twice", [&] { fullDisk(2); }},
            {"read-only target",
             [&] { fs::permissions(target(), fs::perms::owner_read | fs::perms::owner_exec); }},
            {"no zip program", [&] { fs::remove(path("zip")); }},
            {"checked", [] {}},
            {"checked, the copy changes on disk",
             [&] {
                 setCopyProgressHook([this](uint64_t) {
                     std::ofstream(target() / ".Sales.mdb.partial" / "Sales.mdb",
                                   std::ios::in | std::ios::out | std::ios::binary)
                         << "X";
                 });
             }},
            // As a failing disk might lose most of the archive.
            {"checked, zip loses the archive",
             [&] {
                 fs::rename(path("zip"), path("zip.real"));
                 writeFile(path("zip"), "#!/bin/sh\n\"${0%/*}/zip.real\" \"$@\" || exit $?\n"
                                        "[ \"$1\" = -T ] || truncate -s 100 \"$5\"\n");
                 fs::permissions(path("zip"), fs::perms::owner_all);
             }},
            // The copy stops after its first block; this zip leaves a temporary file and half
            // an archive beside the archive, as Info-ZIP's does. Either tells the test (zip on
            // descriptor 3) that it runs.
            {"killed while copying or zipping",
             [&] {
                 runKilled([this](int readyFd) {
                     setCopyProgressHook([readyFd](uint64_t) {
                         (void)!::write(readyFd, "x", 1);
                         ::pause();
                     });
                     ::dup2(readyFd, 3);
                     writeFile(path("zip"),
                               "#!/bin/sh\ndir=$(dirname \"$5\")\n"
                               "echo partial >\"$dir/ziXq3v1a\"\necho partial >\"$5\"\n"
                               "printf x >&3\nexec sleep 600\n");
                     fs::permissions(path("zip"), fs::perms::owner_all);
                 });
                 installFromBuild("zip");
             }},
            // The clock moves ten seconds whenever the run lets events run; the wait is the
            // time between the line the run logs before waiting and the line it gives up with.
            {"target held by another run",
             [&] {
                 m_otherRun.emplace((target() / ".quorvex-backup.lock").string());
                 EXPECT_TRUE(m_otherRun->tryLock());
                 m_desktop.onDoEvents([&] {
                     m_clockAtLine.emplace(logMessages().size(), m_clock.now());
                     m_clock.advanceSeconds(10);
                 });
             }},
            // A name the system refuses: the user is asked for the diskette until they cancel.
            {"long name, diskette asked twice",
             [&] {
                 m_job.setBackupSourceMDB(path("data/" + std::string(300, 'x') + ".mdb"));
                 m_desktop.answerNext(mb::Ok);
                 m_desktop.answerNext(mb::Cancel);
             }},
        };
        preferences().VerifyBackups = condition.starts_with("checked") ? -1 : 0;
        conditions.at(condition)();
    }

    CDatabaseJob m_job;
    std::optional<ExclusiveFileLock> m_otherRun;
    std::map<size_t, DateTime> m_clockAtLine;
};

// Each row of backup_runs.txt is one run. The folder after it is the folder before it with
// the target's files replaced by those the row expects ("unchanged" when none may change); an
// archive stands as "zip" once it is seen to hold the source and the workgroup file. The run
// ends with the row's log line, the display idle and, after a failure of what the job works on,
// a non-fatal entry in the error log.
TEST_F(BackupTest, EveryRunOfTheTableLeavesTheFolderAsExpected)
{
    for (const CaseFields& row : readCaseTable(QUORVEX_TEST_DATA_DIR "/backup_runs.txt")) {
        SCOPED_TRACE(row[0] + " | " + row[1] + " | " + row[2] + " | " + row[7] + " | " + row[10]);
        if (row[0] == "read-only target" && ::geteuid() == 0)
            continue; // root may write anywhere
        fresh(row);
        arrange(row[0]);
        Files expected = filesBelow(dir());
        if (row[9] != "unchanged") {
            std::erase_if(expected,
                          [](const auto& file) { return file.first.starts_with("backup/"); });
            std::istringstream items(row[9]);
            for (std::string item; items >> item;)
                expected["backup/" + item.substr(0, item.find(':'))] =
                    item.substr(item.find(':') + 1);
        }
        EXPECT_EQ(std::to_string(run()), row[8]);
        setCopyProgressHook({});
        m_desktop.onDoEvents({});
        fs::permissions(target(), fs::perms::owner_all);
        Files after = filesBelow(dir());
        for (auto& [name, content] : after)
            if (content.starts_with("PK")) {
                for (const std::string& file : {row[1], row[4]})
                    EXPECT_NE(content.find(file), std::string::npos) << name << " lacks " << file;
                content = "zip";
            }
        EXPECT_EQ(after, expected);
        EXPECT_EQ(m_job.Failure(), row[8] == "-1");
        const std::string line = withDir(row[10]);
        EXPECT_EQ((Lines{logMessages().back(), m_display.texts.back(), m_display.lights}),
                  (Lines{line, "", "1001"}));
        if (line.starts_with("Quorvex Run Error"))
            expectInErrorLog({"Severity:    Non-Fatal", "CDatabaseJob.cls/ExecuteBackupNow()."});
    }
    EXPECT_EQ(m_clockAtLine.at(3).serialSeconds() - m_clockAtLine.at(2).serialSeconds(), 300);
    // The failed rename of the current copy tells how to fix it (its one home); a bad file name
    // asks for the diskette until the user cancels. One box a line, CR LF written as "\r\n".
    std::string boxes;
    for (const auto& box : m_desktop.boxes())
        boxes += box.title + " " + std::to_string(box.style) + ": " + box.text + "\n";
    EXPECT_EQ(std::regex_replace(boxes, std::regex("\r\n"), "\\r\\n"),
              withDir(readFile(QUORVEX_TEST_DATA_DIR "/backup_boxes.txt")));
}

// Counted in characters: umlauts where the cut falls are never split.
TEST_F(BackupTest, ProgressShowsALongPathShortenedToFortyCharacters)
{
    const std::string umlauts = "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F";
    const std::string folder = "a-rather-long-folder-name-" + umlauts + umlauts + umlauts + umlauts;
    fresh({"-", "data/" + folder + "/Sales.mdb", "backup/", "copy", "", "3", "99", ""});
    EXPECT_EQ(run(), 0);
    // The last 34 characters: the 10 of "/Sales.mdb", the 16 umlauts before them and 8 more of
    // the folder's name. (The log line holds the whole path: every run of backup_runs.txt.)
    EXPECT_EQ(m_display.texts.at(2), "Backing Up   " + dir().string().substr(0, 3) + "...er-name-" +
                                         umlauts + umlauts + umlauts + umlauts + "/Sales.mdb");
}

// The command line has the program quoted, two blanks after it, quoted paths and a trailing
// blank. (The log line of a result code: a run of backup_runs.txt.)
TEST_F(BackupTest, ZipCommandLineQuotesTheProgramAndThePaths)
{
    EXPECT_EQ(zipCommandLine("/backup/Sales.zip", "/data/Sales.mdb"),
              "\"" + app().directory +
                  "/zip\"  -S -v -n .zip \"/backup/Sales.zip\" \"/data/Sales.mdb\" ");
}

uint64_t hashInPieces(const std::string& bytes, size_t piece)
{
    ContentHash hash;
    for (size_t at = 0; at < bytes.size(); at += piece)
        hash.add(std::string_view(bytes).substr(at, piece));
    return hash.value();
}

// The copy hashes what it writes block by block, the check what it reads back in blocks of
// another size: both must agree on the same bytes, and not on more of them. (A byte changed on
// disk: the run of backup_runs.txt whose copy changes.)
TEST(ContentHashTest, IsTheSameHoweverTheBytesArriveAndChangesWithTheLength)
{
    std::string bytes;
    for (int i = 0; i < 1000; ++i)
        bytes += static_cast<char>(i * 7 % 251);
    const uint64_t whole = hashInPieces(bytes, bytes.size());
    for (const size_t piece : {1, 7, 31, 32, 33, 999})
        EXPECT_EQ(hashInPieces(bytes, piece), whole) << piece;
    EXPECT_NE(hashInPieces(bytes + '\0', 64), whole);
}

// The dispatcher: what every run does whatever its job, and what ends the program.
using ExecuteJobTest = ExecutionTest;

// The header pads the name with dashes to sixty characters; an unknown job type only shows
// its progress with the lights running and the pointer busy, and returns 0.
TEST_F(ExecuteJobTest, UnknownJobTypeLogsTheHeaderShowsProgressAndRunsNothing)
{
    for (const auto& c : readCaseTable(QUORVEX_TEST_DATA_DIR "/job_headers.txt")) {
        const std::string& name = c[0];
        SCOPED_TRACE(name);
        RecordingDisplay display;
        std::vector<std::string> seen;
        m_desktop.onDoEvents(
            [&] { seen.push_back(display.lights + (m_desktop.busy() ? "B" : "")); });
        CDatabaseJob job;
        job.setJobName(name);
        job.setJobType(static_cast<int16_t>(std::stoi(c[1])));
        EXPECT_EQ(ExecuteDatabaseJobNow(job, display), 0);
        m_desktop.onDoEvents({});
        EXPECT_EQ(logMessages().back(), "-- " + name + " " + std::string(std::stoul(c[2]), '-'));
        EXPECT_EQ(display.texts,
                  (std::vector<std::string>{"Initializing...", "Executing " + name + "...", ""}));
        EXPECT_EQ(display.lights, "1001");
        ASSERT_EQ(seen.size(), 40u);
        EXPECT_EQ(seen.front(), "0110B");
        EXPECT_EQ(seen.back(), "1001B");
        EXPECT_FALSE(m_desktop.busy());
    }
}

// An unexpected error is a fatal report naming the routine it happened in: the dispatcher's when
// the display fails, the backup's when its copy cannot be written.
TEST_F(ExecuteJobTest, UnexpectedErrorIsAFatalReportNamingItsRoutine)
{
    RecordingDisplay broken;
    broken.failFrom = "";
    CDatabaseJob job;
    job.setJobType(job_type::Backup);
    EXPECT_THROW(ExecuteDatabaseJobNow(job, broken), FatalExitCalled);
    expectInErrorLog({"CDatabaseJob.cls/ExecuteDatabaseJobNow()."});
    putFile(path("Sales.mdb"), "new");
    putFile(path("backup/old"), "");
    job.setBackupSourceMDB(path("Sales.mdb"));
    job.setBackupTargetDirectory(path("backup"));
    broken.failFrom = "Backing Up";
    EXPECT_THROW(ExecuteDatabaseJobNow(job, broken), FatalExitCalled);
    expectInErrorLog({"CDatabaseJob.cls/ExecuteBackupNow()."});
}

} // namespace
} // namespace quorvex::test

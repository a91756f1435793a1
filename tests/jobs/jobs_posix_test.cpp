// What job files meet only on POSIX systems: a disk that fills up, made with the file size
// limit, and the entries a listing of the jobs folder leaves out (hidden names, pipes, links).
#include "jobs/database_job.hpp"
#include "jobs/job_directory.hpp"

#include "fakes/test_environment.hpp"

#include <cerrno>
#include <csignal>
#include <iterator>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>

namespace quorvex {
namespace {

using PosixJobFileTest = test::AppDirTest;

TEST_F(PosixJobFileTest, SaveThatCannotBeFinishedLeavesEverythingAsItWasAndReturnsTheReason)
{
    const std::string jobFile = path("Job.tsk"), content = "[General]\r\nJobName=Old\r\n";
    writeFile(jobFile, content);
    // Room for the old file but not for the whole new one, like a disk that fills up.
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit limit{200, saved.rlim_max};
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const int16_t result = CDatabaseJob().SaveDatabaseJob(jobFile);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(result, EFBIG);
    EXPECT_EQ(readFile(jobFile), content);
    // No draft is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir()), {}), 1);
    // Nor is a folder made for a job file whose folder is gone.
    EXPECT_EQ(CDatabaseJob().SaveDatabaseJob(path("NoSuchDir/Job.tsk")), ENOENT);
    EXPECT_FALSE(std::filesystem::exists(path("NoSuchDir")));
    EXPECT_TRUE(m_desktop.boxes().empty());
}

// A missing folder, or a file in its place, has none.
TEST_F(PosixJobFileTest, EveryVisiblePlainFileOfTheJobsFolderCountsAsAFullPath)
{
    const std::string jobs = path("DatabaseJobs") + "/";
    writeFile(path("NotADir"), "");
    for (const std::string& none : {jobs, path("NotADir") + "/"})
        EXPECT_TRUE(listJobFiles(none).empty()) << none;
    std::filesystem::create_directory(jobs);
    std::set<std::string> expected;
    for (const char* name :
         {"b.tsk", "a.tsk", "C.tsk", "notes.txt", "no extension", "Locked.tsk"}) {
        writeFile(jobs + name, "[General]\n");
        expected.insert(jobs + name);
    }
    ::chmod((jobs + "Locked.tsk").c_str(), 0400);
    // Skipped: a hidden file (a save's draft), a folder, a pipe and a dangling link.
    writeFile(jobs + ".Job.tsk.a1b2c3", "[General]\n");
    std::filesystem::create_directory(jobs + "Archive.tsk");
    ASSERT_EQ(::mkfifo((jobs + "Pipe.tsk").c_str(), 0600), 0);
    std::filesystem::create_symlink(jobs + "gone.tsk", jobs + "Dangling.tsk");
    // Without the trailing separator the paths come out the same.
    for (const std::string& folder : {jobs, path("DatabaseJobs")}) {
        const std::vector<std::string> listed = listJobFiles(folder);
        EXPECT_EQ(std::set(listed.begin(), listed.end()), expected);
        EXPECT_EQ(listed.size(), expected.size());
    }
}

} // namespace
} // namespace quorvex

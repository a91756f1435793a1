#include "jobs/job_directory.hpp"

#include "fakes/test_environment.hpp"

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace quorvex {
namespace {

class JobDirectoryTest : public test::AppDirTest {
protected:
    std::string jobsDir() const { return path("DatabaseJobs") + "/"; }
};

// A missing folder, or a file in its place, has none.
TEST_F(JobDirectoryTest, EveryVisiblePlainFileCountsInTheListingsOwnOrderAsFullPaths)
{
    EXPECT_TRUE(listJobFiles(jobsDir()).empty());
    writeFile(path("NotADir"), "");
    EXPECT_TRUE(listJobFiles(path("NotADir") + "/").empty());
    std::filesystem::create_directory(path("DatabaseJobs"));
    const std::set<std::string> plain = {"b.tsk",     "a.tsk",        "C.tsk",     "aa.tsk",
                                         "notes.txt", "no extension", "Locked.tsk"};
    for (const std::string& name : plain)
        writeFile(jobsDir() + name, "[General]\n");
    ::chmod((jobsDir() + "Locked.tsk").c_str(), 0400);
    // Skipped: a hidden file (a save's draft), a folder, a pipe and a dangling link.
    writeFile(jobsDir() + ".Job.tsk.a1b2c3", "[General]\n");
    std::filesystem::create_directory(jobsDir() + "Archive.tsk");
    ASSERT_EQ(::mkfifo((jobsDir() + "Pipe.tsk").c_str(), 0600), 0);
    std::filesystem::create_symlink(jobsDir() + "gone.tsk", jobsDir() + "Dangling.tsk");

    std::vector<std::string> expected;
    DIR* d = ::opendir(jobsDir().c_str());
    while (const dirent* e = ::readdir(d))
        if (plain.count(e->d_name) != 0)
            expected.push_back(jobsDir() + e->d_name);
    ::closedir(d);
    ASSERT_EQ(expected.size(), plain.size());
    EXPECT_EQ(listJobFiles(jobsDir()), expected);
    // Without the trailing separator the paths come out the same.
    EXPECT_EQ(listJobFiles(path("DatabaseJobs")), expected);
}

} // namespace
} // namespace quorvex

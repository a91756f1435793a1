#include "jobs/job_directory.hpp"

#include "fakes/test_environment.hpp"

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

namespace quorvex {
namespace {

class JobDirectoryTest : public test::AppDirTest {
protected:
    std::string jobsDir() const { return path("DatabaseJobs") + "/"; }
    void makeJobsDir() { std::filesystem::create_directory(path("DatabaseJobs")); }
    void touch(const std::string& name) { writeFile(jobsDir() + name, "[General]\n"); }

    // The raw listing, in the order the system returns it.
    std::vector<std::string> readdirOrder()
    {
        std::vector<std::string> names;
        DIR* d = ::opendir(jobsDir().c_str());
        while (const dirent* e = ::readdir(d))
            names.push_back(e->d_name);
        ::closedir(d);
        return names;
    }
};

TEST_F(JobDirectoryTest, MissingDirectoryHasNoJobFiles)
{
    EXPECT_TRUE(listJobFiles(jobsDir()).empty());
    writeFile(path("NotADir"), "");
    EXPECT_TRUE(listJobFiles(path("NotADir") + "/").empty());
}

TEST_F(JobDirectoryTest, EveryPlainFileCountsWhateverItsName)
{
    makeJobsDir();
    touch("Nightly.tsk");
    touch("notes.txt");
    touch("no extension");
    EXPECT_EQ(listJobFiles(jobsDir()).size(), 3u);
}

TEST_F(JobDirectoryTest, HiddenFilesDirectoriesAndSpecialFilesAreSkipped)
{
    makeJobsDir();
    touch("Job.tsk");
    touch(".Job.tsk.a1b2c3");
    std::filesystem::create_directory(jobsDir() + "Archive.tsk");
    ASSERT_EQ(::mkfifo((jobsDir() + "Pipe.tsk").c_str(), 0600), 0);
    std::filesystem::create_symlink(jobsDir() + "gone.tsk", jobsDir() + "Dangling.tsk");
    EXPECT_EQ(listJobFiles(jobsDir()), std::vector<std::string>{jobsDir() + "Job.tsk"});
}

TEST_F(JobDirectoryTest, ReadOnlyFilesCount)
{
    makeJobsDir();
    touch("Locked.tsk");
    ::chmod((jobsDir() + "Locked.tsk").c_str(), 0400);
    EXPECT_EQ(listJobFiles(jobsDir()).size(), 1u);
}

TEST_F(JobDirectoryTest, FilesComeInTheListingsOwnOrderAsFullPaths)
{
    makeJobsDir();
    for (const char* name : {"b.tsk", "a.tsk", "C.tsk", "d.tsk", "aa.tsk"})
        touch(name);
    std::vector<std::string> expected;
    for (const std::string& name : readdirOrder())
        if (name.front() != '.')
            expected.push_back(jobsDir() + name);
    EXPECT_EQ(listJobFiles(jobsDir()), expected);
    // Without the trailing separator the paths come out the same.
    EXPECT_EQ(listJobFiles(path("DatabaseJobs")), expected);
}

} // namespace
} // namespace quorvex

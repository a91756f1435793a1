// Saving a job file on a disk that fills up, made with the file size limit only POSIX has.
#include "jobs/database_job.hpp"

#include "job_file_test.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <iterator>
#include <sys/resource.h>

namespace quorvex {
namespace {

using test::JobFileTest;

TEST_F(JobFileTest, SaveThatCannotBeFinishedLeavesEverythingAsItWasAndReturnsTheReason)
{
    const std::string content = "[General]\r\nJobName=Old\r\nJobType=2\r\n";
    writeFile(jobFile(), content);
    // Room for the old file but not for the whole new one, like a disk that fills up.
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit limit{200, saved.rlim_max};
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const int16_t result = nightlyBackup().SaveDatabaseJob(jobFile());
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(result, EFBIG);
    EXPECT_EQ(readFile(jobFile()), content);
    // No draft is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir()), {}), 1);
    // Nor is a folder made for a job file whose folder is gone.
    EXPECT_EQ(nightlyBackup().SaveDatabaseJob(path("NoSuchDir/Job.tsk")), ENOENT);
    EXPECT_FALSE(std::filesystem::exists(path("NoSuchDir")));
    EXPECT_TRUE(m_desktop.boxes().empty());
}

} // namespace
} // namespace quorvex

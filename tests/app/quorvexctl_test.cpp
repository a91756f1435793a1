#include "fakes/test_environment.hpp"
#include "jobs/database_job.hpp"
#include "jobs/job_directory.hpp"
#include "support/computer_name.hpp"
#include "support/date_text.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace quorvex {
namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

std::vector<std::string> linesOf(const std::string& content)
{
    std::vector<std::string> lines;
    std::istringstream in(content);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// Runs quorvexctl with the real clock, as a user would. The test's own clock is the real one
// too, so expected next runs follow from the same moment (give or take the run itself).
class QuorvexctlTest : public test::AppDirTest {
protected:
    void SetUp() override
    {
        AppDirTest::SetUp();
        setClock(nullptr);
        std::filesystem::create_directory(path("DatabaseJobs"));
    }

    std::string jobsDir() const { return path("DatabaseJobs") + "/"; }

    Outcome run(std::vector<std::string> args, const std::string& workDir = {})
    {
        args.insert(args.begin(), QUORVEXCTL_PATH);
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, path("out.txt").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, path("err.txt").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (!workDir.empty())
            posix_spawn_file_actions_addchdir_np(&actions, workDir.c_str());
        pid_t pid = 0;
        Outcome outcome;
        const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        EXPECT_EQ(rc, 0);
        int status = 0;
        if (rc == 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status))
            outcome.status = WEXITSTATUS(status);
        outcome.out = readFile(path("out.txt"));
        outcome.err = readFile(path("err.txt"));
        return outcome;
    }

    Outcome list() { return run({"list", "--app-dir", dir().string()}); }

    // The line quorvexctl should print for a job file, with the next run as it is before
    // and after the run; the run's line must be one of them.
    std::set<std::string> expectedLines(const std::string& file, const DateTime& readAt)
    {
        std::set<std::string> lines;
        CDatabaseJob job;
        job.OpenDatabaseJob(file);
        for (const DateTime& next : {readAt, job.DateNextRun()})
            lines.insert(job.JobName() + "\t" + formatDate(job.DateLastRun()) + "\t" +
                         formatDate(next) + "\t" + formatTime(job.StartTime()) + "\t" +
                         std::to_string(job.JobType()) + "\t" + file);
        return lines;
    }

    void writeJob(const std::string& name, const std::string& content)
    {
        writeFile(jobsDir() + name, content);
    }
};

CDatabaseJob savedJob(const std::string& name, int32_t freq, int hour, int minute)
{
    CDatabaseJob job;
    job.setJobName(name);
    job.setJobType(job_type::Backup);
    job.setDateLastRun(DateTime::fromDate(2026, 11, 30));
    job.setStartTime(DateTime::fromTime(hour, minute));
    job.setFrequency(freq);
    job.setDayOfWeek(254);
    job.setDayOfMonth(1);
    return job;
}

TEST_F(QuorvexctlTest, ListsSavedJobsInStartUpOrderWithTheirNextRuns)
{
    savedJob("Never", 0, 7, 5).SaveDatabaseJob(jobsDir() + "Never.tsk");
    savedJob("Every day", frequency::Daily, 0, 0).SaveDatabaseJob(jobsDir() + "Everyday.tsk");
    CDatabaseJob daily;
    daily.OpenDatabaseJob(jobsDir() + "Everyday.tsk");
    const DateTime before = daily.DateNextRun();

    const Outcome outcome = list();
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.err, "");
    const std::vector<std::string> lines = linesOf(outcome.out);
    const std::vector<std::string> order = listJobFiles(jobsDir());
    ASSERT_EQ(lines.size(), 2u);
    for (size_t i = 0; i < order.size(); ++i) {
        const bool isNever = order[i].ends_with("Never.tsk");
        const DateTime readAt = isNever ? DateTime::fromDate(9999, 12, 31) : before;
        EXPECT_EQ(expectedLines(order[i], readAt).count(lines[i]), 1u) << lines[i];
    }
    EXPECT_NE(
        outcome.out.find("Never\tNov-30-2026\tDec-31-9999\t07:05\t3\t" + jobsDir() + "Never.tsk\n"),
        std::string::npos)
        << outcome.out;
}

TEST_F(QuorvexctlTest, HandEditedFilesGetTheReadersDefaults)
{
    writeJob("Sparse.tsk", "[General]\r\nJobName=Sparse\r\n");
    writeJob("Empty", "");
    const DateTime today = Today();
    const Outcome outcome = list();
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    std::set<std::string> lines;
    for (const auto& line : linesOf(outcome.out))
        lines.insert(line);
    // A default DayOfWeek selects no day, so there is no next run.
    const std::string rest = "\tDec-31-9999\t00:00\t1\t";
    EXPECT_EQ(lines.size(), 2u);
    for (const DateTime& day : {today, Today()}) {
        lines.erase("Sparse\t" + formatDate(day) + rest + jobsDir() + "Sparse.tsk");
        lines.erase("*ERROR*\t" + formatDate(day) + rest + jobsDir() + "Empty");
    }
    EXPECT_TRUE(lines.empty()) << outcome.out;
}

TEST_F(QuorvexctlTest, MissingJobsDirectoryListsNothing)
{
    std::filesystem::remove(path("DatabaseJobs"));
    const Outcome outcome = list();
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, "");
}

TEST_F(QuorvexctlTest, RelativeAppDirPrintsFullPaths)
{
    savedJob("Never", 0, 7, 5).SaveDatabaseJob(jobsDir() + "Never.tsk");
    const Outcome outcome =
        run({"list", "--app-dir", dir().filename().string()}, dir().parent_path().string());
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_TRUE(outcome.out.ends_with("\t" + jobsDir() + "Never.tsk\n")) << outcome.out;
}

TEST_F(QuorvexctlTest, RejectedJobFileEndsWithStatusOneAndAnErrorLogEntry)
{
    writeJob("Bad.tsk", "[Schedule]\r\nDateLastRun=Someday\r\n");
    const Outcome outcome = list();
    EXPECT_EQ(outcome.status, 1);
    const std::string e = "ERR#13 @ Quorvex - Type mismatch";
    EXPECT_NE(outcome.err.find("Fatal Application Error: " + e), std::string::npos) << outcome.err;

    const std::string log = readFile(path("quorvex.err"));
    const std::vector<std::string> lines = linesOf(log);
    ASSERT_EQ(lines.size(), 11u) << log;
    EXPECT_EQ(lines[0], std::string(80, '-'));
    EXPECT_TRUE(lines[1].starts_with("Date:        ")) << lines[1];
    EXPECT_GT(lines[1].size(), 13u);
    const std::vector<std::string> rest = {
        "Computer:    " + GetComputerNameA(),
        "Severity:    Fatal",
        "Description: " + e,
        "Last DLL:     0 ",
        "Details:     " + e,
        std::string(40, '-'),
        "Module/Function: CDatabaseJob.cls/OpenDatabaseJob().",
        "",
        "",
    };
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 2, lines.end()), rest);
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), std::count(log.begin(), log.end(), '\r'));
}

TEST_F(QuorvexctlTest, UnknownArgumentsGiveTheUsageAndStatusTwo)
{
    for (const auto& args : std::vector<std::vector<std::string>>{{},
                                                                  {"lst"},
                                                                  {"list", "--verbose"},
                                                                  {"list", "--app-dir"},
                                                                  {"list", "--app-dir", ""},
                                                                  {"list", dir().string()}}) {
        const Outcome outcome = run(args);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_TRUE(outcome.err.starts_with("usage: quorvexctl list [--app-dir DIR]"))
            << outcome.err;
        EXPECT_EQ(outcome.out, "");
    }
    EXPECT_FALSE(std::filesystem::exists(path("quorvex.err")));
}

} // namespace
} // namespace quorvex

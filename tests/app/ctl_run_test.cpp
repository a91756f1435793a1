#include "execution_test.hpp"
#include "jobs/database_job.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;

// "quorvexctl run" as a real process on backup jobs in a temporary application directory.
class CtlRunTest : public ExecutionTest {
protected:
    void SetUp() override
    {
        ExecutionTest::SetUp();
        putFile(path("data/Sales.mdb"), "new");
        putFile(path("data/System.mdw"), "workgroup");
        fs::create_directories(target());
    }

    fs::path target() const { return dir() / "backup"; }
    std::string jobFile(const std::string& name) const { return path("DatabaseJobs/" + name); }

    CDatabaseJob& addJob(const std::string& name, const std::string& source)
    {
        CDatabaseJob& job = m_jobs.emplace_back();
        job.setJobName(name);
        job.setJobType(job_type::Backup);
        job.setDateLastRun(DateTime::fromDate(2026, 11, 30));
        job.setBackupSourceMDB(source);
        job.setBackupTargetDirectory(target().string());
        job.setNumberCopies(5);
        return job;
    }
    void saveJobs() const
    {
        fs::create_directories(path("DatabaseJobs"));
        for (const auto& job : m_jobs)
            job.SaveDatabaseJob(jobFile(job.JobName() + ".tsk"));
    }

    // The exit status; standard error is kept in m_err.
    int run(std::vector<std::string> args)
    {
        saveJobs();
        args.insert(args.begin(), {QUORVEXCTL_PATH, "run"});
        args.insert(args.end(), {"--app-dir", dir().string()});
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, path("err.txt").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        pid_t pid = 0;
        const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        int status = 0;
        if (rc != 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
            return -1;
        m_err = readFile(path("err.txt"));
        return WEXITSTATUS(status);
    }

    std::vector<CDatabaseJob> m_jobs;
    std::string m_err;
};

TEST_F(CtlRunTest, RunsTheNamedJobsInTheOrderGivenAndLeavesTheirLastRunAlone)
{
    addJob("First", path("data/Sales.mdb"));
    addJob("Second", path("data/System.mdw"));
    EXPECT_EQ(run({"Second", "First"}), 0) << m_err;
    EXPECT_EQ(listing(target()), (std::vector<std::string>{"Sales.mdb", "System.mdw"}));
    const auto log = logMessages();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0], "-- Second " + std::string(54, '-'));
    EXPECT_EQ(log[2], "-- First " + std::string(55, '-'));
    EXPECT_NE(m_err.find("Executing Second...\nBacking Up   "), std::string::npos) << m_err;
    CDatabaseJob saved;
    saved.OpenDatabaseJob(jobFile("First.tsk"));
    EXPECT_EQ(saved.DateLastRun(), DateTime::fromDate(2026, 11, 30));
}

TEST_F(CtlRunTest, ReadsTheCopyLimitFromThePreferences)
{
    writeFile(path("Quorvex.ini"), "[Preferences]\r\nNumberCopies=2\r\n");
    addJob("Orders", path("data/Sales.mdb"));
    for (const std::string name : {"Sales.mdb", "Sales_1.mdb", "Sales_2.mdb", "Sales_3.mdb"})
        putFile(target() / name, name);
    EXPECT_EQ(run({"Orders"}), 0) << m_err;
    EXPECT_EQ(readFile(target() / "Sales.mdb"), "new");
    EXPECT_EQ(readFile(target() / "Sales_1.mdb"), "Sales.mdb");
    EXPECT_EQ(readFile(target() / "Sales_2.mdb"), "Sales_1.mdb");
    EXPECT_EQ(readFile(target() / "Sales_3.mdb"), "Sales_3.mdb");
}

TEST_F(CtlRunTest, ZipJobWithWorkgroupFilePutsBothIntoOneArchive)
{
    installFromBuild("zip");
    CDatabaseJob& job = addJob("Zipped", path("data/Sales.mdb"));
    job.setCompress(true);
    job.setSecurity(true);
    job.setMDWFile(path("data/System.mdw"));
    putFile(target() / "Sales.zip", "z0");
    EXPECT_EQ(run({"Zipped"}), 0) << m_err;
    EXPECT_EQ(listing(target()), (std::vector<std::string>{"Sales.zip", "Sales_1.zip"}));
    const std::string members = outputOf("unzip -l '" + (target() / "Sales.zip").string() + "'");
    EXPECT_NE(members.find("data/Sales.mdb"), std::string::npos) << members;
    EXPECT_NE(members.find("data/System.mdw"), std::string::npos) << members;
}

TEST_F(CtlRunTest, FailedJobGivesStatusOneAfterEveryJobRan)
{
    addJob("Broken", path("data/Missing.mdb"));
    addJob("Fine", path("data/Sales.mdb"));
    EXPECT_EQ(run({"Broken", "Fine"}), 1) << m_err;
    EXPECT_EQ(logMessages().at(1), "Backing Up   " + path("data/Missing.mdb"));
    EXPECT_EQ(listing(target()), std::vector<std::string>{"Sales.mdb"});
}

TEST_F(CtlRunTest, UnknownNameGivesStatusTwoAndRunsNothing)
{
    addJob("Fine", path("data/Sales.mdb"));
    EXPECT_EQ(run({"Fine", "Nobody"}), 2);
    EXPECT_NE(m_err.find("Nobody"), std::string::npos) << m_err;
    EXPECT_TRUE(listing(target()).empty());
    EXPECT_FALSE(fs::exists(path("quorvex.log")));
}

} // namespace
} // namespace quorvex::test

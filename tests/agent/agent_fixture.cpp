#include "agent/agent_fixture.hpp"

#include "jobs/database_job.hpp"
#include "support/preferences.hpp"
#include "support/transaction_log.hpp"

#include <sstream>

namespace quorvex::test {

void AgentTest::SetUp()
{
    AppDirTest::SetUp();
    preferences() = Preferences{};
    std::filesystem::create_directories(jobsDir());
    std::filesystem::create_directories(dir() / "data");
    std::filesystem::create_directories(backupTarget());
}

void AgentTest::TearDown()
{
    preferences() = Preferences{};
    AppDirTest::TearDown();
}

std::string AgentTest::saveBackupJob(const std::string& stem, const std::string& name,
                                     DateTime startTime)
{
    writeFile(sourceOf(stem), "database " + stem);
    CDatabaseJob job;
    job.setJobName(name);
    job.setJobType(job_type::Backup);
    job.setFrequency(frequency::Daily);
    job.setDayOfWeek(254);
    job.setStartTime(startTime);
    job.setDateLastRun(at(2026, 11, 1));
    job.setBackupSourceMDB(sourceOf(stem).string());
    job.setBackupTargetDirectory(backupTarget().string());
    job.setNumberCopies(1);
    const std::string file = (jobsDir() / (stem + ".tsk")).string();
    job.SaveDatabaseJob(file);
    return file;
}

int AgentTest::runsLogged(const std::string& name) const
{
    std::istringstream log(readFile(transactionLogPath()));
    int runs = 0;
    for (std::string line; std::getline(log, line);)
        runs += line.find("  -- " + name + " -") != std::string::npos ? 1 : 0;
    return runs;
}

} // namespace quorvex::test

#pragma once

#include "fakes/test_environment.hpp"
#include "jobs/database_job.hpp"
#include "support/preferences.hpp"
#include "support/transaction_log.hpp"
#include "ui/schedule/frm_schedule.hpp"

#include <filesystem>
#include <initializer_list>
#include <string>
#include <tuple>
#include <vector>

namespace quorvex::test {

// An application directory with a jobs directory, a folder of databases and a backup target;
// the preferences are the ones a fresh start loads, without a browser.
class JobFilesTest : public AppDirTest {
protected:
    void SetUp() override
    {
        AppDirTest::SetUp();
        preferences() = Preferences{-1, 99, ""};
        for (const auto& folder : {jobsDir(), dir() / "data", backupTarget()})
            std::filesystem::create_directories(folder);
    }
    void TearDown() override
    {
        preferences() = Preferences{};
        AppDirTest::TearDown();
    }

    std::filesystem::path jobsDir() const { return dir() / "DatabaseJobs"; }
    std::filesystem::path backupTarget() const { return dir() / "target"; }
    std::filesystem::path sourceOf(const std::string& stem) const
    {
        return dir() / "data" / (stem + ".mdb");
    }

    // Saves a daily plain-copy backup of <stem>.mdb, which holds "database <stem>" unless it
    // is left missing, as <stem>.tsk; returns the job file's path.
    std::string saveBackupJob(const std::string& stem, const std::string& name, DateTime startTime,
                              DateTime lastRun, bool sourceExists = true)
    {
        if (sourceExists)
            writeFile(sourceOf(stem), "database " + stem);
        CDatabaseJob job;
        job.setJobName(name);
        job.setJobType(job_type::Backup);
        job.setFrequency(frequency::Daily);
        job.setDayOfWeek(254);
        job.setStartTime(startTime);
        job.setDateLastRun(lastRun);
        job.setBackupSourceMDB(sourceOf(stem).string());
        job.setBackupTargetDirectory(backupTarget().string());
        job.setNumberCopies(1);
        const std::string file = (jobsDir() / (stem + ".tsk")).string();
        job.SaveDatabaseJob(file);
        return file;
    }
    using Box = std::tuple<std::string, int, std::string>;
    // Every message box shown so far, as its text, style and title.
    std::vector<Box> boxes() const
    {
        std::vector<Box> result;
        for (const auto& box : m_desktop.boxes())
            result.emplace_back(box.text, box.style, box.title);
        return result;
    }
    // The transaction log's lines that open a run of the named job.
    int runsLogged(const std::string& name) const
    {
        const std::string log = readFile(transactionLogPath());
        int runs = 0;
        for (auto at = log.find(runMark(name)); at != std::string::npos;
             at = log.find(runMark(name), at + 1))
            ++runs;
        return runs;
    }
    // Whether the transaction log opens a run of each named job, in this order.
    bool loggedInOrder(std::initializer_list<std::string> names) const
    {
        const std::string log = readFile(transactionLogPath());
        std::string::size_type previous = 0;
        for (const std::string& name : names) {
            const auto at = log.find(runMark(name), previous);
            if (at == std::string::npos)
                return false;
            previous = at + 1;
        }
        return true;
    }
    static std::string runMark(const std::string& name) { return "  -- " + name + " -"; }
    // Reads a job file and adds its row, as start-up does.
    static void listJob(frmSchedule& schedule, const std::string& file)
    {
        CDatabaseJob job;
        job.OpenDatabaseJob(file);
        schedule.AddItemListView(job.JobName(), job.DateLastRun(), job.DateNextRun(),
                                 job.StartTime(), job.JobType(), file);
    }
};

} // namespace quorvex::test

#pragma once

#include "fakes/test_environment.hpp"
#include "fakes/text_lines.hpp"
#include "jobs/database_job.hpp"
#include "support/preferences.hpp"
#include "support/transaction_log.hpp"
#include "ui/schedule/frm_schedule.hpp"

#include <filesystem>
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

    std::filesystem::path jobsDir() const { return dir() / "DatabaseJobs"; }
    std::filesystem::path backupTarget() const { return dir() / "target"; }

    // Saves a daily plain-copy backup of <stem>.mdb, which holds "database <stem>" unless it
    // is left missing, as <stem>.tsk; returns the job file's path.
    std::string saveBackupJob(const std::string& stem, const std::string& name, DateTime startTime,
                              DateTime lastRun, bool sourceExists = true)
    {
        const auto source = dir() / "data" / (stem + ".mdb");
        if (sourceExists)
            writeFile(source, "database " + stem);
        CDatabaseJob job;
        job.setJobName(name);
        job.setJobType(job_type::Backup);
        job.setFrequency(frequency::Daily);
        job.setDayOfWeek(254);
        job.setStartTime(startTime);
        job.setDateLastRun(lastRun);
        job.setBackupSourceMDB(source.string());
        job.setBackupTargetDirectory(backupTarget().string());
        job.setNumberCopies(1);
        const std::string file = (jobsDir() / (stem + ".tsk")).string();
        job.SaveDatabaseJob(file);
        return file;
    }
    // The same job named as its file, read back and listed as start-up lists it.
    std::string listBackupJob(frmSchedule& schedule, const std::string& name, DateTime startTime,
                              DateTime lastRun, bool sourceExists = true)
    {
        const std::string file = saveBackupJob(name, name, startTime, lastRun, sourceExists);
        CDatabaseJob job;
        job.OpenDatabaseJob(file);
        schedule.AddItemListView(job.JobName(), job.DateLastRun(), job.DateNextRun(),
                                 job.StartTime(), job.JobType(), file);
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

    using Names = std::vector<std::string>;
    // The jobs whose runs the transaction log opens ("  -- <name> ---"), in log order.
    static Names runsLogged()
    {
        Names names;
        for (const std::string& line : linesOf(readFile(transactionLogPath())))
            if (const auto at = line.find("  -- "); at != std::string::npos)
                names.push_back(line.substr(at + 5, line.find_last_not_of('-') - at - 5));
        return names;
    }
};

} // namespace quorvex::test

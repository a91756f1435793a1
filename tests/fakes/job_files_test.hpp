#pragma once

#include "fakes/scoped_env.hpp"
#include "fakes/test_environment.hpp"
#include "fakes/text_lines.hpp"
#include "jobs/database_job.hpp"
#include "support/preferences.hpp"
#include "support/transaction_log.hpp"
#include "ui/schedule/frm_schedule.hpp"

#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace quorvex::test {

// An application directory with a jobs directory, a folder of databases and a backup target;
// the preferences are the ones a fresh start loads, without a browser. PATH is put back
// after every test, however it ends.
class JobFilesTest : public AppDirTest {
protected:
    void SetUp() override
    {
        AppDirTest::SetUp();
        preferences() = Preferences{-1, 99, ""};
        for (const auto& folder : {jobsDir(), dir() / "data", backupTarget()})
            std::filesystem::create_directories(folder);
    }
    static void usePath(const std::string& folders) { ::setenv("PATH", folders.c_str(), 1); }

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

    // Adds a line of the test's own to the transcript, after the boxes shown so far.
    void note(const std::string& line)
    {
        flushBoxes();
        m_transcript += line + "\n";
    }
    // The transcript compared whole with tests/data/<folder>/<suite>.<test>.txt, the one home
    // of the box texts: every message box as "<title> (<style>): <text>", with line ends
    // written \r and \n, between the test's notes; the application directory reads <dir>.
    // QUORVEX_UPDATE_EXPECTED=1 writes the file instead.
    void expectTranscript()
    {
        flushBoxes();
        std::string text = m_transcript;
        const std::string app = dir().string();
        for (auto at = text.find(app); at != std::string::npos; at = text.find(app, at))
            text.replace(at, app.size(), "<dir>");
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::filesystem::path file =
            std::filesystem::path(QUORVEX_TEST_DATA_DIR) /
            (std::string(test->test_suite_name()) + "." + test->name() + ".txt");
        if (std::getenv("QUORVEX_UPDATE_EXPECTED") != nullptr)
            writeFile(file, text);
        EXPECT_EQ(text, readFile(file)) << file;
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

private:
    void flushBoxes()
    {
        for (const auto& box : std::span(m_desktop.boxes()).subspan(m_boxesWritten)) {
            m_transcript += box.title + " (" + std::to_string(box.style) + "): ";
            for (char c : box.text)
                m_transcript += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
            m_transcript += "\n";
        }
        m_boxesWritten = m_desktop.boxes().size();
    }

    ScopedEnv m_pathGuard{"PATH", std::getenv("PATH")};
    std::string m_transcript;
    std::size_t m_boxesWritten = 0;
};

} // namespace quorvex::test

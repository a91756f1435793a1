#include "jobs/database_job.hpp"

#include "fakes/test_environment.hpp"
#include "support/computer_name.hpp"
#include "support/date_text.hpp"
#include "support/error_handler.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>

namespace quorvex {
namespace {

using test::at;
using test::FatalExitCalled;

// The lines of a file, whatever its line ends.
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

bool everyLineEndsInCrLf(const std::string& content)
{
    for (size_t i = content.find('\n'); i != std::string::npos; i = content.find('\n', i + 1))
        if (i == 0 || content[i - 1] != '\r')
            return false;
    return !content.empty() && content.back() == '\n';
}

class JobFileTest : public test::AppDirTest {
protected:
    std::string jobFile(const std::string& name = "Job.tsk") const { return path(name); }

    // A hand-edited job file with the given lines (CR LF ends, as on the original platform).
    std::string handEdited(const std::vector<std::string>& lines)
    {
        std::string content;
        for (const auto& line : lines)
            content += line + "\r\n";
        writeFile(jobFile(), content);
        return jobFile();
    }

    CDatabaseJob open(const std::string& file)
    {
        CDatabaseJob job;
        EXPECT_EQ(job.OpenDatabaseJob(file), 0);
        return job;
    }

    CDatabaseJob openSchedule(const std::string& key, const std::string& value)
    {
        return open(handEdited({"[Schedule]", key + "=" + value}));
    }

    CDatabaseJob openBackup(const std::string& key, const std::string& value)
    {
        return open(handEdited({"[Backup]", key + "=" + value}));
    }

    static CDatabaseJob nightlyBackup()
    {
        CDatabaseJob job;
        job.setJobName("Nightly Backup");
        job.setJobType(job_type::Backup);
        job.setDateLastRun(at(2026, 12, 5));
        job.setStartTime(DateTime::fromTime(23, 30));
        job.setFrequency(frequency::Weekly);
        job.SetDayOfWeek(true, true, true, true, true, false, false);
        job.setDayOfMonth(1);
        job.setBackupSourceMDB("D:/Data/Orders.mdb");
        job.setBackupTargetDirectory("E:/Backups");
        job.setCompress(true);
        job.setNumberCopies(3);
        return job;
    }

    void expectFatalOpen(const std::string& file, int32_t number)
    {
        CDatabaseJob job;
        EXPECT_THROW(job.OpenDatabaseJob(file), FatalExitCalled);
        ASSERT_EQ(m_desktop.boxes().size(), 1u);
        EXPECT_EQ(m_desktop.boxes()[0].title, "Fatal Application Error");
        const std::string log = readFile(errorLogPath());
        EXPECT_NE(log.find("ERR#" + std::to_string(number) + " @ "), std::string::npos) << log;
    }
};

TEST_F(JobFileTest, OneSaveIntoAFreshPathWritesExactlyTheDocumentedLines)
{
    nightlyBackup().SaveDatabaseJob(jobFile());
    const std::vector<std::string> expected = {
        "[General]",
        "JobName=Nightly Backup",
        "JobType=3",
        "[Schedule]",
        "DateLastRun=Dec-05-2026",
        "StartTime=23:30",
        "Frequency=2",
        "DayOfWeek=124",
        "DayOfMonth=1",
        "[Security]",
        "SecurityUsed=0",
        "MDWFile=",
        "UserID=",
        "Password=",
        "[RepairCompact]",
        "DatabaseFile=",
        "[AutoExecute]",
        "DatabaseFile=",
        "[Backup]",
        "DatabaseFile=D:/Data/Orders.mdb",
        "TargetPath=E:/Backups/",
        "Compress=-1",
        "NumberCopies=3",
    };
    EXPECT_EQ(linesOf(readFile(jobFile())), expected);
}

TEST_F(JobFileTest, RoundTripGivesBackEveryFieldButTimeOfDayAndSeconds)
{
    CDatabaseJob saved;
    saved.setJobName("Month end");
    saved.setJobType(job_type::AutoExecute);
    saved.setDateLastRun(at(2027, 3, 5, 14, 15, 16));
    saved.setStartTime(DateTime::fromTime(7, 5, 42));
    saved.setFrequency(frequency::Monthly);
    saved.setDayOfWeek(68);
    saved.setDayOfMonth(28);
    saved.setCompress(false);
    saved.setNumberCopies(12);
    saved.setRepairCompactMDB("/data/repair.mdb");
    saved.setAutoExecuteMDB("/data/run me.mdb");
    saved.setBackupSourceMDB("/data/source.mdb");
    saved.setBackupTargetDirectory("/backups");
    saved.setSecurity(true);
    saved.setMDWFile("/data/system.mdw");
    saved.setUserID("admin");
    saved.setPassword("s3cret=yes");
    saved.setFailure(true);
    saved.SaveDatabaseJob(jobFile());

    const CDatabaseJob loaded = open(jobFile());
    EXPECT_EQ(loaded.JobName(), "Month end");
    EXPECT_EQ(loaded.JobType(), job_type::AutoExecute);
    EXPECT_EQ(loaded.DateLastRun(), at(2027, 3, 5));
    EXPECT_EQ(loaded.StartTime(), DateTime::fromTime(7, 5));
    EXPECT_EQ(loaded.Frequency(), frequency::Monthly);
    EXPECT_EQ(loaded.DayOfWeek(), 68);
    EXPECT_EQ(loaded.DayOfMonth(), 28);
    EXPECT_FALSE(loaded.Compress());
    EXPECT_EQ(loaded.NumberCopies(), 12);
    EXPECT_EQ(loaded.RepairCompactMDB(), "/data/repair.mdb");
    EXPECT_EQ(loaded.AutoExecuteMDB(), "/data/run me.mdb");
    EXPECT_EQ(loaded.BackupSourceMDB(), "/data/source.mdb");
    EXPECT_EQ(loaded.BackupTargetDirectory(), "/backups/");
    EXPECT_TRUE(loaded.Security());
    EXPECT_EQ(loaded.MDWFile(), "/data/system.mdw");
    EXPECT_EQ(loaded.UserID(), "admin");
    EXPECT_EQ(loaded.Password(), "s3cret=yes");
    EXPECT_FALSE(loaded.Failure());
}

TEST_F(JobFileTest, MissingFileLoadsTheDefaultsAndCreatesNothing)
{
    const CDatabaseJob job = open(path("absent.tsk"));
    EXPECT_EQ(job.JobName(), "*ERROR*");
    EXPECT_EQ(job.JobType(), 1);
    EXPECT_EQ(job.DateLastRun(), at(2026, 12, 5));
    EXPECT_EQ(job.StartTime(), DateTime());
    EXPECT_EQ(job.Frequency(), 1);
    EXPECT_EQ(job.DayOfWeek(), 1);
    EXPECT_EQ(job.DayOfMonth(), 1);
    EXPECT_FALSE(job.Security());
    EXPECT_TRUE(job.Compress());
    EXPECT_EQ(job.NumberCopies(), 3);
    EXPECT_EQ(job.MDWFile(), "");
    EXPECT_EQ(job.Password(), "");
    EXPECT_EQ(job.BackupTargetDirectory(), "");
    EXPECT_FALSE(std::filesystem::exists(path("absent.tsk")));
}

TEST_F(JobFileTest, HandEditedFileWithSomeKeysGetsDefaultsForTheRest)
{
    const CDatabaseJob job =
        open(handEdited({"[general]", "jobname = Weekly copy ", "[SCHEDULE]", "StartTime=6:05"}));
    EXPECT_EQ(job.JobName(), "Weekly copy");
    EXPECT_EQ(job.JobType(), 1);
    EXPECT_EQ(job.StartTime(), DateTime::fromTime(6, 5));
    EXPECT_EQ(job.DateLastRun(), at(2026, 12, 5));
    EXPECT_EQ(job.NumberCopies(), 3);
}

TEST_F(JobFileTest, EmptyOrMissingFrequencyLoadsDailyButZeroStaysZero)
{
    EXPECT_EQ(openSchedule("Frequency", "").Frequency(), 1);
    EXPECT_EQ(openSchedule("DayOfMonth", "3").Frequency(), 1);
    EXPECT_EQ(openSchedule("Frequency", "0").Frequency(), 0);
    EXPECT_EQ(openSchedule("Frequency", "100000").Frequency(), 100000);
}

TEST_F(JobFileTest, SecurityUsedIsTrueForAnyNonZeroNumber)
{
    EXPECT_TRUE(open(handEdited({"[Security]", "SecurityUsed=1"})).Security());
    EXPECT_TRUE(open(handEdited({"[Security]", "SecurityUsed=-1"})).Security());
    EXPECT_FALSE(open(handEdited({"[Security]", "SecurityUsed=yes"})).Security());
    EXPECT_FALSE(open(handEdited({"[Security]", "SecurityUsed=0"})).Security());
}

TEST_F(JobFileTest, EmptyCompressLoadsFalseWhileAMissingOneLoadsTrue)
{
    EXPECT_FALSE(openBackup("Compress", "").Compress());
    EXPECT_TRUE(openBackup("NumberCopies", "3").Compress());
}

TEST_F(JobFileTest, NumbersAreRoundedHalfToEven)
{
    EXPECT_EQ(openBackup("NumberCopies", "2.5").NumberCopies(), 2);
    EXPECT_EQ(openBackup("NumberCopies", "3.5").NumberCopies(), 4);
    EXPECT_EQ(openBackup("NumberCopies", "7 copies").NumberCopies(), 7);
    EXPECT_EQ(open(handEdited({"[General]", "JobType=&H3"})).JobType(), 3);
}

TEST_F(JobFileTest, TargetPathLoadsExactlyAsWritten)
{
    EXPECT_EQ(openBackup("TargetPath", "/srv/backup").BackupTargetDirectory(), "/srv/backup");
}

TEST_F(JobFileTest, UpperCaseEnglishDateIsRead)
{
    EXPECT_EQ(openSchedule("DateLastRun", "MAR-5-2027").DateLastRun(), at(2027, 3, 5));
}

TEST_F(JobFileTest, NumberOutOfRangeEndsTheProgramWithOverflow)
{
    expectFatalOpen(handEdited({"[Backup]", "NumberCopies=40000"}), err::Overflow);
}

TEST_F(JobFileTest, BadStartTimeEndsTheProgramWithTypeMismatch)
{
    expectFatalOpen(handEdited({"[Schedule]", "StartTime=noon"}), err::TypeMismatch);
}

TEST_F(JobFileTest, BadDateLastRunIsReportedInTheErrorLogAndEndsTheProgram)
{
    expectFatalOpen(handEdited({"[Schedule]", "DateLastRun=someday"}), err::TypeMismatch);
    const std::string e = "ERR#13 @ Quorvex - Type mismatch";
    const std::vector<std::string> expected = {
        std::string(80, '-'),
        "Date:        " + formatGeneralDate(m_clock.now()),
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
    const std::string log = readFile(errorLogPath());
    EXPECT_EQ(linesOf(log), expected);
    EXPECT_EQ(log.find("\r\n"), 80u);
    EXPECT_EQ(m_desktop.boxes()[0].text, e + "\r\n\r\nApplication will now terminate.");
}

TEST_F(JobFileTest, SavingOverAnotherJobsFileReplacesOurKeysAndKeepsTheRest)
{
    handEdited({"; written by hand", "[Backup]", "DatabaseFile=/old/source.mdb",
                "TargetPath=/old/target/", "Compress=-1", "NumberCopies=9", "Comment=keep me",
                "[Extra]", "Note=also kept"});
    CDatabaseJob job;
    job.setJobName("Repair");
    job.setJobType(job_type::RepairCompact);
    job.setRepairCompactMDB("/data/orders.mdb");
    job.SaveDatabaseJob(jobFile());

    const std::string content = readFile(jobFile());
    const std::vector<std::string> lines = linesOf(content);
    EXPECT_EQ(lines.front(), "; written by hand");
    EXPECT_NE(content.find("Comment=keep me\r\n"), std::string::npos);
    EXPECT_NE(content.find("[Extra]\r\nNote=also kept\r\n"), std::string::npos);
    EXPECT_TRUE(everyLineEndsInCrLf(content));
    const CDatabaseJob loaded = open(jobFile());
    EXPECT_EQ(loaded.BackupSourceMDB(), "");
    EXPECT_EQ(loaded.BackupTargetDirectory(), "");
    EXPECT_FALSE(loaded.Compress());
    EXPECT_EQ(loaded.NumberCopies(), 0);
    EXPECT_EQ(loaded.RepairCompactMDB(), "/data/orders.mdb");
}

mode_t modeOf(const std::string& file)
{
    struct stat st {};
    EXPECT_EQ(::stat(file.c_str(), &st), 0);
    return st.st_mode & 07777;
}

TEST_F(JobFileTest, NewJobFileIsForItsOwnerOnlyAndLeavesNoDraftBehind)
{
    nightlyBackup().SaveDatabaseJob(jobFile());
    EXPECT_EQ(modeOf(jobFile()), 0600u);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"Job.tsk"});
}

TEST_F(JobFileTest, SavingKeepsThePermissionsOfAnExistingFile)
{
    handEdited({"[General]", "JobName=Old"});
    ::chmod(jobFile().c_str(), 0640);
    nightlyBackup().SaveDatabaseJob(jobFile());
    EXPECT_EQ(modeOf(jobFile()), 0640u);
    EXPECT_EQ(open(jobFile()).JobName(), "Nightly Backup");
}

// Lets files grow to a given size only, like a disk that fills up under a save.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_saved{};
    void (*m_oldHandler)(int) = nullptr;
};

TEST_F(JobFileTest, SaveThatFailsHalfwayLeavesTheOldFileWholeAndNoDraft)
{
    const std::string content = "[General]\r\nJobName=Old\r\nJobType=2\r\n";
    writeFile(jobFile(), content);
    int16_t result = -1;
    {
        // Room for the old file but not for the whole new one.
        const FileSizeLimit limit(200);
        result = nightlyBackup().SaveDatabaseJob(jobFile());
    }
    EXPECT_EQ(result, 0);
    EXPECT_EQ(readFile(jobFile()), content);
    EXPECT_TRUE(m_desktop.boxes().empty());
    size_t entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir()))
        entries += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(entries, 1u);
}

TEST_F(JobFileTest, SaveIntoAMissingDirectoryCreatesNothingAndIsNotReported)
{
    EXPECT_EQ(nightlyBackup().SaveDatabaseJob(path("NoSuchDir/Job.tsk")), 0);
    EXPECT_FALSE(std::filesystem::exists(path("NoSuchDir")));
    EXPECT_TRUE(m_desktop.boxes().empty());
}

} // namespace
} // namespace quorvex

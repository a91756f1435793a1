#include "jobs/database_job.hpp"

#include "fakes/test_environment.hpp"
#include "fakes/text_lines.hpp"
#include "support/date_text.hpp"
#include "support/error.hpp"
#include "support/error_handler.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <filesystem>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include <sys/resource.h>

namespace quorvex {
namespace {

using test::at;
using test::linesOf;

TEST(DatabaseJobRecord, SetDayOfWeekBuildsTheWholeMaskFromSundayTwoToSaturday128)
{
    struct Row {
        bool mon, tue, wed, thu, fri, sat, sun;
        int16_t mask;
    };
    // One record for every row: each mask replaces the one before instead of adding to it.
    CDatabaseJob job;
    for (const Row& r : std::vector<Row>{{1, 1, 1, 1, 1, 1, 1, 254},
                                         {0, 0, 0, 0, 0, 0, 1, 2},
                                         {1, 0, 0, 0, 1, 0, 0, 68},
                                         {0, 0, 0, 0, 0, 1, 0, 128},
                                         {1, 1, 1, 1, 1, 0, 0, 124},
                                         {0, 0, 0, 0, 0, 1, 1, 130},
                                         {0, 0, 0, 0, 0, 0, 0, 0}}) {
        job.SetDayOfWeek(r.mon, r.tue, r.wed, r.thu, r.fri, r.sat, r.sun);
        EXPECT_EQ(job.DayOfWeek(), r.mask);
    }
}

TEST(DatabaseJobRecord, TargetDirectorySetterEndsTheValueWithOneSeparator)
{
    CDatabaseJob job;
    for (const auto& [value, stored] : std::vector<std::pair<std::string, std::string>>{
             {"/srv/backup", "/srv/backup/"}, {"/srv/backup/", "/srv/backup/"}, {"", "/"}}) {
        job.setBackupTargetDirectory(value);
        EXPECT_EQ(job.BackupTargetDirectory(), stored) << value;
    }
}

TEST(DatabaseJobRecord, NegativeCountsCannotBeReadBack)
{
    CDatabaseJob job;
    job.setDayOfWeek(-2);
    job.setDayOfMonth(-1);
    job.setNumberCopies(-32768);
    const auto errorOf = [](const auto& read) {
        try {
            read();
        } catch (const RuntimeError& e) {
            return e.number();
        }
        return 0;
    };
    EXPECT_EQ(errorOf([&] { job.DayOfWeek(); }), err::TypeMismatch);
    EXPECT_EQ(errorOf([&] { job.DayOfMonth(); }), err::TypeMismatch);
    EXPECT_EQ(errorOf([&] { job.NumberCopies(); }), err::TypeMismatch);
    job.setNumberCopies(32767);
    EXPECT_EQ(job.NumberCopies(), 32767);
}

class JobFileTest : public test::AppDirTest {
protected:
    std::string jobFile() const { return path("Job.tsk"); }

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

    static CDatabaseJob nightlyBackup()
    {
        CDatabaseJob job;
        job.setJobName("Nightly Backup");
        job.setJobType(job_type::Backup);
        job.setDateLastRun(at(2026, 12, 5, 14, 15, 16));  // the file keeps no time of day,
        job.setStartTime(DateTime::fromTime(23, 30, 42)); // no seconds
        job.setFailure(true);                             // and no outcome of a run
        job.setFrequency(frequency::Weekly);
        job.SetDayOfWeek(true, true, true, true, true, false, false);
        job.setDayOfMonth(1);
        job.setBackupSourceMDB("D:/Data/Orders.mdb");
        job.setBackupTargetDirectory("E:/Backups");
        job.setCompress(true);
        job.setNumberCopies(3);
        return job;
    }
};

TEST_F(JobFileTest, OneSaveIntoAFreshPathWritesExactlyTheDocumentedLines)
{
    nightlyBackup().SaveDatabaseJob(jobFile());
    // clang-format off
    const std::vector<std::string> expected = {
        "[General]", "JobName=Nightly Backup", "JobType=3",
        "[Schedule]", "DateLastRun=Dec-05-2026", "StartTime=23:30", "Frequency=2", "DayOfWeek=124",
        "DayOfMonth=1",
        "[Security]", "SecurityUsed=0", "MDWFile=", "UserID=", "Password=",
        "[RepairCompact]", "DatabaseFile=",
        "[AutoExecute]", "DatabaseFile=",
        "[Backup]", "DatabaseFile=D:/Data/Orders.mdb", "TargetPath=E:/Backups/", "Compress=-1",
        "NumberCopies=3"};
    // clang-format on
    EXPECT_EQ(linesOf(readFile(jobFile())), expected);
}

TEST_F(JobFileTest, EveryFieldMakesTheRoundTripFromFileToRecordAndBack)
{
    // clang-format off
    handEdited({
        "[General]", "JobName=Month end", "JobType=2",
        "[Schedule]", "DateLastRun=Mar-05-2027", "StartTime=07:05", "Frequency=3", "DayOfWeek=68",
        "DayOfMonth=28",
        "[Security]", "SecurityUsed=-1", "MDWFile=/data/system.mdw", "UserID=admin",
        "Password=s3cret=yes",
        "[RepairCompact]", "DatabaseFile=/data/repair.mdb",
        "[AutoExecute]", "DatabaseFile=/data/run me.mdb",
        "[Backup]", "DatabaseFile=/data/source.mdb", "TargetPath=/backups/", "Compress=0",
        "NumberCopies=12"});
    // clang-format on
    open(jobFile()).SaveDatabaseJob(path("Copy.tsk"));
    EXPECT_EQ(readFile(path("Copy.tsk")), readFile(jobFile()));
}

TEST_F(JobFileTest, MissingKeysAndAMissingFileLoadTheDefaults)
{
    // Section and key names in any case, blanks around the value trimmed.
    handEdited({"[general]", "jobname = Weekly copy ", "[SCHEDULE]", "StartTime=6:05"});
    for (const auto& [file, name, start] : std::vector<std::array<std::string, 3>>{
             {jobFile(), "Weekly copy", "06:05"}, {path("absent.tsk"), "*ERROR*", "00:00"}}) {
        open(file).SaveDatabaseJob(file + ".copy");
        // clang-format off
        EXPECT_EQ(linesOf(readFile(file + ".copy")), (std::vector<std::string>{
            "[General]", "JobName=" + name, "JobType=1",
            "[Schedule]", "DateLastRun=Dec-05-2026", "StartTime=" + start, "Frequency=1",
            "DayOfWeek=1", "DayOfMonth=1",
            "[Security]", "SecurityUsed=0", "MDWFile=", "UserID=", "Password=",
            "[RepairCompact]", "DatabaseFile=",
            "[AutoExecute]", "DatabaseFile=",
            "[Backup]", "DatabaseFile=", "TargetPath=", "Compress=-1", "NumberCopies=3"}));
        // clang-format on
    }
    EXPECT_FALSE(std::filesystem::exists(path("absent.tsk")));
}

TEST_F(JobFileTest, HandEditedValuesAreReadAsTheClassicReaderDoes)
{
    // One key per row. An empty or missing Frequency loads daily, but 0 stays 0.
    EXPECT_EQ(open(handEdited({"[Schedule]", "Frequency="})).Frequency(), 1);
    EXPECT_EQ(open(handEdited({"[Schedule]", "DayOfMonth=3"})).Frequency(), 1);
    EXPECT_EQ(open(handEdited({"[Schedule]", "Frequency=0"})).Frequency(), 0);
    EXPECT_EQ(open(handEdited({"[Schedule]", "Frequency=100000"})).Frequency(), 100000);
    // Any number but 0 is true; letters are 0.
    EXPECT_TRUE(open(handEdited({"[Security]", "SecurityUsed=1"})).Security());
    EXPECT_TRUE(open(handEdited({"[Security]", "SecurityUsed=-1"})).Security());
    EXPECT_FALSE(open(handEdited({"[Security]", "SecurityUsed=yes"})).Security());
    // An empty Compress is false, a missing one true.
    EXPECT_FALSE(open(handEdited({"[Backup]", "Compress="})).Compress());
    EXPECT_TRUE(open(handEdited({"[Backup]", "NumberCopies=3"})).Compress());
    // Numbers are rounded half to even and read up to the first character that is not one.
    EXPECT_EQ(open(handEdited({"[Backup]", "NumberCopies=2.5"})).NumberCopies(), 2);
    EXPECT_EQ(open(handEdited({"[Backup]", "NumberCopies=3.5"})).NumberCopies(), 4);
    EXPECT_EQ(open(handEdited({"[Backup]", "NumberCopies=7 copies"})).NumberCopies(), 7);
    EXPECT_EQ(open(handEdited({"[General]", "JobType=&H3"})).JobType(), 3);
    // Texts as written; dates also in upper-case English.
    EXPECT_EQ(open(handEdited({"[Backup]", "TargetPath=/srv/backup"})).BackupTargetDirectory(),
              "/srv/backup");
    EXPECT_EQ(open(handEdited({"[Schedule]", "DateLastRun=MAR-5-2027"})).DateLastRun(),
              at(2027, 3, 5));
}

TEST_F(JobFileTest, UnreadableValueEndsTheProgramWithAnErrorLogEntry)
{
    const std::vector<std::pair<std::vector<std::string>, int32_t>> rows = {
        {{"[Backup]", "NumberCopies=40000"}, err::Overflow},
        {{"[Schedule]", "StartTime=noon"}, err::TypeMismatch},
        {{"[Schedule]", "DateLastRun=someday"}, err::TypeMismatch},
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(rows[i].first[1]);
        std::filesystem::remove(errorLogPath());
        CDatabaseJob job;
        EXPECT_THROW(job.OpenDatabaseJob(handEdited(rows[i].first)), test::FatalExitCalled);
        ASSERT_EQ(m_desktop.boxes().size(), i + 1);
        EXPECT_EQ(m_desktop.boxes()[i].title, "Fatal Application Error");
        const std::string log = readFile(errorLogPath());
        EXPECT_NE(log.find("ERR#" + std::to_string(rows[i].second) + " @ "), std::string::npos)
            << log;
    }
    // The last entry, for the bad date, alone in the log: its every line.
    const std::string e = "ERR#13 @ Quorvex - Type mismatch";
    const std::string log = readFile(errorLogPath());
    EXPECT_EQ(linesOf(log), test::fatalErrorEntry(formatGeneralDate(m_clock.now()), e,
                                                  "CDatabaseJob.cls/OpenDatabaseJob()."));
    EXPECT_EQ(log.find("\r\n"), 80u);
    EXPECT_EQ(m_desktop.boxes().back().text, e + "\r\n\r\nApplication will now terminate.");
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
    EXPECT_EQ(std::count(content.begin(), content.end(), '\n'),
              std::count(content.begin(), content.end(), '\r'));
    const CDatabaseJob loaded = open(jobFile());
    EXPECT_EQ(loaded.BackupSourceMDB(), "");
    EXPECT_EQ(loaded.BackupTargetDirectory(), "");
    EXPECT_FALSE(loaded.Compress());
    EXPECT_EQ(loaded.NumberCopies(), 0);
    EXPECT_EQ(loaded.RepairCompactMDB(), "/data/orders.mdb");
}

// Lets files grow to a given size only, like a disk that fills up under a save.
struct FileSizeLimit {
    explicit FileSizeLimit(rlim_t bytes) : oldHandler(std::signal(SIGXFSZ, SIG_IGN))
    {
        ::getrlimit(RLIMIT_FSIZE, &saved);
        rlimit limit = saved;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
    }
    void (*oldHandler)(int);
    rlimit saved{};
};

TEST_F(JobFileTest, SaveThatCannotBeFinishedLeavesEverythingAsItWasAndIsNotReported)
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
    // No draft is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir()), {}), 1);
    // Nor is a folder made for a job file whose folder is gone.
    EXPECT_EQ(nightlyBackup().SaveDatabaseJob(path("NoSuchDir/Job.tsk")), 0);
    EXPECT_FALSE(std::filesystem::exists(path("NoSuchDir")));
    EXPECT_TRUE(m_desktop.boxes().empty());
}

} // namespace
} // namespace quorvex

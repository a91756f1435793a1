#include "jobs/database_job.hpp"

#include "fakes/text_lines.hpp"
#include "job_file_test.hpp"
#include "support/date_text.hpp"
#include "support/error.hpp"
#include "support/error_handler.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

namespace quorvex {
namespace {

using test::at;
using test::JobFileTest;
using test::kSep;
using test::Lines;
using test::linesOf;

TEST(DatabaseJobRecord, SetDayOfWeekBuildsTheWholeMaskFromSundayTwoToSaturday128)
{
    // Monday to Sunday, then the mask; one record for all rows: each mask replaces the last.
    // clang-format off
    const std::pair<std::string, int16_t> rows[] = {{"1111111", 254}, {"0000001", 2}, {"1000100", 68},
        {"0000010", 128}, {"1111100", 124}, {"0000011", 130}, {"0000000", 0}};
    // clang-format on
    CDatabaseJob job;
    for (const auto& [d, mask] : rows) {
        job.SetDayOfWeek(d[0] == '1', d[1] == '1', d[2] == '1', d[3] == '1', d[4] == '1',
                         d[5] == '1', d[6] == '1');
        EXPECT_EQ(job.DayOfWeek(), mask) << d;
    }
}

TEST(DatabaseJobRecord, TargetDirectorySetterEndsTheValueWithOneSeparator)
{
    CDatabaseJob job;
    for (const auto& [value, stored] : std::vector<std::pair<std::string, std::string>>{
             {"backup", "backup" + kSep}, {"backup" + kSep, "backup" + kSep}, {"", kSep}}) {
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
    for (const auto read :
         {&CDatabaseJob::DayOfWeek, &CDatabaseJob::DayOfMonth, &CDatabaseJob::NumberCopies})
        EXPECT_EQ(test::errorNumberOf([&] { (void)(job.*read)(); }), err::TypeMismatch);
}

TEST_F(JobFileTest, OneSaveWritesExactlyTheDocumentedLinesThatLoadIntoTheSameRecord)
{
    nightlyBackup().SaveDatabaseJob(jobFile());
    // clang-format off
    EXPECT_EQ(linesOf(readFile(jobFile())), (Lines{
        "[General]", "JobName=Nightly Backup", "JobType=3", "[Schedule]", "DateLastRun=Dec-05-2026",
        "StartTime=07:05", "Frequency=2", "DayOfWeek=124", "DayOfMonth=28", "[Security]",
        "SecurityUsed=-1", "MDWFile=/data/system.mdw", "UserID=admin", "Password=s3cret=yes",
        "[RepairCompact]", "DatabaseFile=/data/repair.mdb", "[AutoExecute]",
        "DatabaseFile=/data/run me.mdb", "[Backup]", "DatabaseFile=D:/Data/Orders.mdb",
        "TargetPath=E:" + kSep + "Backups" + kSep, "Compress=-1", "NumberCopies=3"}));
    // clang-format on
    open(jobFile()).SaveDatabaseJob(path("Copy.tsk"));
    EXPECT_EQ(readFile(path("Copy.tsk")), readFile(jobFile()));
}

TEST_F(JobFileTest, MissingKeysAndAMissingFileLoadTheDefaults)
{
    // Section and key names in any case, blanks around the value trimmed.
    handEdited({"[general]", "jobname = Weekly copy ", "[SCHEDULE]", "StartTime=6:05"});
    const auto fields = [](const CDatabaseJob& j) {
        return std::tuple(j.JobName(), j.JobType(), j.DateLastRun(), formatTime(j.StartTime()),
                          j.Frequency(), j.DayOfWeek(), j.DayOfMonth(), j.Security(), j.Compress(),
                          j.NumberCopies(),
                          j.MDWFile() + j.UserID() + j.Password() + j.RepairCompactMDB() +
                              j.AutoExecuteMDB() + j.BackupSourceMDB() + j.BackupTargetDirectory());
    };
    const DateTime today = at(2026, 12, 5);
    EXPECT_EQ(fields(open(jobFile())),
              std::tuple("Weekly copy", 1, today, "06:05", 1, 1, 1, false, true, 3, ""));
    EXPECT_EQ(fields(open(path("absent.tsk"))),
              std::tuple("*ERROR*", 1, today, "00:00", 1, 1, 1, false, true, 3, ""));
    EXPECT_FALSE(std::filesystem::exists(path("absent.tsk")));
}

TEST_F(JobFileTest, HandEditedValuesAreReadAsTheClassicReaderDoes)
{
    const auto load = [this](const char* section, const char* line) {
        return open(handEdited({section, line}));
    };
    // One key per row (missing keys and -1 are read in the tests above).
    // An empty Frequency loads daily, but 0 stays 0.
    EXPECT_EQ(load("[Schedule]", "Frequency=").Frequency(), 1);
    EXPECT_EQ(load("[Schedule]", "Frequency=0").Frequency(), 0);
    EXPECT_EQ(load("[Schedule]", "Frequency=100000").Frequency(), 100000);
    // Any number but 0 is true; letters are 0.
    EXPECT_TRUE(load("[Security]", "SecurityUsed=1").Security());
    EXPECT_FALSE(load("[Security]", "SecurityUsed=yes").Security());
    // An empty Compress is false.
    EXPECT_FALSE(load("[Backup]", "Compress=").Compress());
    // Numbers are rounded half to even and read up to the first character that is not one.
    EXPECT_EQ(load("[Backup]", "NumberCopies=2.5").NumberCopies(), 2);
    EXPECT_EQ(load("[Backup]", "NumberCopies=3.5").NumberCopies(), 4);
    EXPECT_EQ(load("[Backup]", "NumberCopies=7 copies").NumberCopies(), 7);
    EXPECT_EQ(load("[General]", "JobType=&H3").JobType(), 3);
    // Texts as written; dates also in upper-case English.
    EXPECT_EQ(load("[Backup]", "TargetPath=/srv/backup").BackupTargetDirectory(), "/srv/backup");
    EXPECT_EQ(load("[Schedule]", "DateLastRun=MAR-5-2027").DateLastRun(), at(2027, 3, 5));
}

TEST_F(JobFileTest, UnreadableValueEndsTheProgramWithAnErrorLogEntryAndABox)
{
    const std::pair<Lines, std::string> rows[] = {
        {{"[Backup]", "NumberCopies=40000"}, "ERR#6 @ Quorvex - Overflow"},
        {{"[Schedule]", "StartTime=noon"}, "ERR#13 @ Quorvex - Type mismatch"},
        {{"[Schedule]", "DateLastRun=someday"}, "ERR#13 @ Quorvex - Type mismatch"}};
    for (const auto& [lines, error] : rows) {
        std::filesystem::remove(errorLogPath());
        EXPECT_THROW(CDatabaseJob().OpenDatabaseJob(handEdited(lines)), test::FatalExitCalled);
        expectInErrorLog({"Severity:    Fatal", error, "CDatabaseJob.cls/OpenDatabaseJob()."});
        ASSERT_FALSE(m_desktop.boxes().empty());
        EXPECT_EQ(m_desktop.boxes().back().title, "Fatal Application Error");
    }
    EXPECT_EQ(m_desktop.boxes().size(), std::size(rows));
}

TEST_F(JobFileTest, SavingOverAnotherJobsFileReplacesOurKeysAndKeepsTheRest)
{
    handEdited({"; written by hand", "[Backup]", "DatabaseFile=/old/source.mdb",
                "TargetPath=/old/target/", "Compress=-1", "NumberCopies=9", "Comment=keep me",
                "[Extra]", "Note=also kept"});
    CDatabaseJob job; // a fresh record: every field at its zero value
    job.setJobName("Repair");
    job.setJobType(job_type::RepairCompact);
    job.setRepairCompactMDB("/data/orders.mdb");
    job.SaveDatabaseJob(jobFile());
    // Our keys replaced where they stand, the rest kept, the missing sections after them.
    const std::string saved = readFile(jobFile());
    EXPECT_TRUE(saved.starts_with(
        crlf({"; written by hand", "[Backup]", "DatabaseFile=", "TargetPath=", "Compress=0",
              "NumberCopies=0", "Comment=keep me", "[Extra]", "Note=also kept", "[General]",
              "JobName=Repair"})))
        << saved;
    EXPECT_EQ(open(jobFile()).RepairCompactMDB(), "/data/orders.mdb");
}

} // namespace
} // namespace quorvex

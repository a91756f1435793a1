#include "jobs/database_job.hpp"

#include "fakes/case_table.hpp"
#include "fakes/test_environment.hpp"
#include "platform/paths.hpp"
#include "support/date_text.hpp"
#include "support/error.hpp"
#include "support/error_handler.hpp"

namespace quorvex {
namespace {

using test::at;

class JobFileTest : public test::AppDirTest {
protected:
    std::string jobFile() const { return path("Job.tsk"); }

    CDatabaseJob open(const std::string& file)
    {
        CDatabaseJob job;
        EXPECT_EQ(job.OpenDatabaseJob(file), 0);
        return job;
    }

    // A job with the schedule of a table's case, read at the moment given. The days stand for
    // the weekday mask and the day of the month alike; the frequency picks one.
    CDatabaseJob scheduled(const test::CaseFields& c, DateTime now)
    {
        CDatabaseJob job;
        job.setFrequency(std::stoi(c[0]));
        job.setDayOfWeek(static_cast<int16_t>(std::stoi(c[1])));
        job.setDayOfMonth(static_cast<int16_t>(std::stoi(c[1])));
        job.setStartTime(parseTime(c[2]));
        m_clock.set(now);
        return job;
    }
};

// One record for all steps: each value replaces the last.
TEST(DatabaseJobRecord, SettersBuildTheDayMaskAndTheTargetFolderAndNegativeCountsCannotBeRead)
{
    CDatabaseJob job;
    for (const auto& c : test::readCaseTable(QUORVEX_TEST_DATA_DIR "/day_masks.txt")) {
        const std::string& d = c[0];
        job.SetDayOfWeek(d[0] == '1', d[1] == '1', d[2] == '1', d[3] == '1', d[4] == '1',
                         d[5] == '1', d[6] == '1');
        EXPECT_EQ(job.DayOfWeek(), std::stoi(c[1])) << d;
    }
    const std::string sep(1, kPathSeparator);
    for (const std::string& value : {std::string("backup"), "backup" + sep, std::string()}) {
        job.setBackupTargetDirectory(value);
        EXPECT_EQ(job.BackupTargetDirectory(), value.empty() ? sep : "backup" + sep) << value;
    }
    job.setDayOfWeek(-2);
    job.setDayOfMonth(-1);
    job.setNumberCopies(-32768);
    for (const auto read :
         {&CDatabaseJob::DayOfWeek, &CDatabaseJob::DayOfMonth, &CDatabaseJob::NumberCopies})
        EXPECT_EQ(test::errorNumberOf([&] { (void)(job.*read)(); }), err::TypeMismatch);
}

// Nightly.tsk, the one home of the job file format, holds every key; the file keeps no time of
// day, no seconds and no outcome of a run.
TEST_F(JobFileTest, OneSaveWritesExactlyTheDocumentedLinesThatLoadIntoTheSameRecord)
{
    CDatabaseJob job = open(QUORVEX_TEST_DATA_DIR "/Nightly.tsk");
    job.setDateLastRun(job.DateLastRun() + DateTime::fromTime(14, 15, 16));
    job.setStartTime(job.StartTime() + DateTime::fromTime(0, 0, 42));
    job.setFailure(true);
    job.SaveDatabaseJob(jobFile());
    EXPECT_EQ(readFile(jobFile()), readFile(QUORVEX_TEST_DATA_DIR "/Nightly.tsk"));
}

// What the reader makes of values edited by hand (CR LF ends as on the original platform), and
// of keys left out, seen in the line a save writes back; a value it cannot read is a fatal
// report.
TEST_F(JobFileTest, HandEditedValuesAreReadAsTheClassicReaderDoes)
{
    for (const auto& c : test::readCaseTable(QUORVEX_TEST_DATA_DIR "/hand_edited.txt")) {
        writeFile(jobFile(), c[0] + "\r\n" + c[1] + "\r\n");
        if (c[2].starts_with("ERR#")) {
            std::filesystem::remove(errorLogPath());
            EXPECT_THROW(CDatabaseJob().OpenDatabaseJob(jobFile()), test::FatalExitCalled);
            expectInErrorLog({c[2] + "\r\n", "CDatabaseJob.cls/OpenDatabaseJob()."});
            continue;
        }
        open(jobFile()).SaveDatabaseJob(path("Saved.tsk"));
        const std::string saved = readFile(path("Saved.tsk"));
        EXPECT_NE(saved.find("\r\n" + c[2] + "\r\n"), std::string::npos) << c[1] << "\n" << saved;
    }
    // A missing file loads the defaults of missing keys, and is not made.
    writeFile(jobFile(), "[Other]\r\n");
    open(jobFile()).SaveDatabaseJob(path("Defaults.tsk"));
    open(path("absent.tsk")).SaveDatabaseJob(path("FromNothing.tsk"));
    EXPECT_EQ(readFile(path("FromNothing.tsk")), readFile(path("Defaults.tsk")));
    EXPECT_FALSE(std::filesystem::exists(path("absent.tsk")));
}

// Our keys are replaced where they stand, the rest is kept, the missing sections follow.
TEST_F(JobFileTest, SavingOverAnotherJobsFileReplacesOurKeysAndKeepsTheRest)
{
    writeFile(jobFile(), readFile(QUORVEX_TEST_DATA_DIR "/Foreign.tsk"));
    CDatabaseJob job; // a fresh record: every field at its zero value
    job.setJobName("Repair");
    job.setJobType(job_type::RepairCompact);
    job.setRepairCompactMDB("/data/orders.mdb");
    job.SaveDatabaseJob(jobFile());
    const std::string saved = readFile(jobFile());
    EXPECT_TRUE(saved.starts_with(readFile(QUORVEX_TEST_DATA_DIR "/Foreign.tsk.saved-start")))
        << saved;
    EXPECT_EQ(open(jobFile()).RepairCompactMDB(), "/data/orders.mdb");
}

// The missed run is the latest scheduled moment after the day of the last run; the runs between
// the last one and now did not happen.
TEST_F(JobFileTest, NextRunOfEveryScheduleAndTheMissedRun)
{
    for (const auto& c : test::readCaseTable(QUORVEX_TEST_DATA_DIR "/next_run.txt"))
        EXPECT_EQ(scheduled(c, parseDate(c[3]) + parseTime(c[4])).DateNextRun(), parseDate(c[5]))
            << c[0] << " | " << c[1] << " | " << c[2] << " | " << c[3];
    for (const auto& c : test::readCaseTable(QUORVEX_TEST_DATA_DIR "/missed_run.txt")) {
        CDatabaseJob job = scheduled(c, at(2026, 12, 5, 9, 0));
        job.setDateLastRun(parseDate(c[3]));
        const DateTime none = DateTime::fromDate(1899, 12, 30);
        EXPECT_EQ(job.MissedRun().value_or(none),
                  c[4] == "none" ? none : parseDate(c[4]) + parseTime(c[5]))
            << c[0] << " | " << c[1] << " | " << c[2] << " | " << c[3];
    }
}

} // namespace
} // namespace quorvex

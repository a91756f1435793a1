#include "jobs/database_job.hpp"

#include "fakes/case_table.hpp"
#include "fakes/test_environment.hpp"
#include "platform/paths.hpp"
#include "support/date_text.hpp"
#include "support/error.hpp"
#include "support/error_handler.hpp"

#include <iterator>
#include <tuple>

namespace quorvex {
namespace {

using test::at;
using Lines = std::vector<std::string>;

// The system's separator, as a text.
const std::string kSep(1, kPathSeparator);

class JobFileTest : public test::AppDirTest {
protected:
    std::string jobFile() const { return path("Job.tsk"); }

    // The text of these lines with CR LF ends, as on the original platform.
    static std::string crlf(const Lines& lines)
    {
        std::string text;
        for (const auto& line : lines)
            text += line + "\r\n";
        return text;
    }
    // A hand-edited job file with the given lines.
    std::string handEdited(const Lines& lines)
    {
        writeFile(jobFile(), crlf(lines));
        return jobFile();
    }

    CDatabaseJob open(const std::string& file)
    {
        CDatabaseJob job;
        EXPECT_EQ(job.OpenDatabaseJob(file), 0);
        return job;
    }
};

// One record for all steps: each value replaces the last.
TEST(DatabaseJobRecord, SettersBuildTheDayMaskAndTheTargetFolderAndNegativeCountsCannotBeRead)
{
    // Monday to Sunday, then the mask from Sunday 2 to Saturday 128.
    const std::pair<std::string, int16_t> rows[] = {
        {"1111111", 254}, {"0000001", 2},   {"1000100", 68}, {"0000010", 128},
        {"1111100", 124}, {"0000011", 130}, {"0000000", 0}};
    CDatabaseJob job;
    for (const auto& [d, mask] : rows) {
        job.SetDayOfWeek(d[0] == '1', d[1] == '1', d[2] == '1', d[3] == '1', d[4] == '1',
                         d[5] == '1', d[6] == '1');
        EXPECT_EQ(job.DayOfWeek(), mask) << d;
    }
    for (const auto& [value, stored] : std::vector<std::pair<std::string, std::string>>{
             {"backup", "backup" + kSep}, {"backup" + kSep, "backup" + kSep}, {"", kSep}}) {
        job.setBackupTargetDirectory(value);
        EXPECT_EQ(job.BackupTargetDirectory(), stored) << value;
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

// What the reader makes of values edited by hand, and of keys left out, seen in the line a save
// writes back.
TEST_F(JobFileTest, HandEditedValuesAreReadAsTheClassicReaderDoes)
{
    for (const auto& c : test::readCaseTable(QUORVEX_TEST_DATA_DIR "/hand_edited.txt")) {
        open(handEdited({c[0], c[1]})).SaveDatabaseJob(path("Saved.tsk"));
        const std::string saved = readFile(path("Saved.tsk"));
        EXPECT_NE(saved.find("\r\n" + c[2] + "\r\n"), std::string::npos) << c[1] << "\n" << saved;
    }
    // A missing file loads the defaults of missing keys, and is not made.
    open(handEdited({"[Other]"})).SaveDatabaseJob(path("Defaults.tsk"));
    open(path("absent.tsk")).SaveDatabaseJob(path("Absent.tsk"));
    EXPECT_EQ(readFile(path("Absent.tsk")), readFile(path("Defaults.tsk")));
    EXPECT_FALSE(std::filesystem::exists(path("absent.tsk")));
}

TEST_F(JobFileTest, UnreadableValueEndsTheProgramWithAnErrorLogEntryAndABox)
{
    const auto cases = test::readCaseTable(QUORVEX_TEST_DATA_DIR "/unreadable.txt");
    for (const auto& c : cases) {
        std::filesystem::remove(errorLogPath());
        EXPECT_THROW(CDatabaseJob().OpenDatabaseJob(handEdited({c[0], c[1]})),
                     test::FatalExitCalled);
        expectInErrorLog({"Severity:    Fatal", c[2], "CDatabaseJob.cls/OpenDatabaseJob()."});
    }
    EXPECT_EQ(m_desktop.boxes().size(), cases.size());
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

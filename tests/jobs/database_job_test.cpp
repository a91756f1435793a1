#include "jobs/database_job.hpp"

#include "support/error.hpp"

#include <gtest/gtest.h>

#include <functional>

namespace quorvex {
namespace {

TEST(DatabaseJobRecord, NewRecordHoldsZerosEmptyTextsAndFalse)
{
    const CDatabaseJob job;
    EXPECT_EQ(job.JobType(), 0);
    EXPECT_EQ(job.Frequency(), 0);
    EXPECT_EQ(job.DayOfWeek(), 0);
    EXPECT_EQ(job.DayOfMonth(), 0);
    EXPECT_EQ(job.NumberCopies(), 0);
    EXPECT_EQ(job.DateLastRun(), DateTime());
    EXPECT_EQ(job.StartTime(), DateTime());
    EXPECT_EQ(job.JobName(), "");
    EXPECT_EQ(job.BackupTargetDirectory(), "");
    EXPECT_FALSE(job.Compress());
    EXPECT_FALSE(job.Security());
    EXPECT_FALSE(job.Failure());
}

TEST(DatabaseJobRecord, SetDayOfWeekBuildsTheMaskFromSundayTwoToSaturday128)
{
    CDatabaseJob job;
    job.SetDayOfWeek(false, false, false, false, false, false, false);
    EXPECT_EQ(job.DayOfWeek(), 0);
    job.SetDayOfWeek(true, true, true, true, true, true, true);
    EXPECT_EQ(job.DayOfWeek(), 254);
    job.SetDayOfWeek(false, false, false, false, false, false, true);
    EXPECT_EQ(job.DayOfWeek(), 2);
    job.SetDayOfWeek(true, false, false, false, true, false, false);
    EXPECT_EQ(job.DayOfWeek(), 68);
    job.SetDayOfWeek(false, false, false, false, false, true, false);
    EXPECT_EQ(job.DayOfWeek(), 128);
}

TEST(DatabaseJobRecord, SetDayOfWeekReplacesTheMaskInsteadOfAccumulating)
{
    CDatabaseJob job;
    job.SetDayOfWeek(true, true, true, true, true, false, false);
    EXPECT_EQ(job.DayOfWeek(), 124);
    job.SetDayOfWeek(false, false, false, false, false, true, true);
    EXPECT_EQ(job.DayOfWeek(), 130);
}

TEST(DatabaseJobRecord, TargetDirectorySetterEndsTheValueWithOneSeparator)
{
    CDatabaseJob job;
    job.setBackupTargetDirectory("/srv/backup");
    EXPECT_EQ(job.BackupTargetDirectory(), "/srv/backup/");
    job.setBackupTargetDirectory("/srv/backup/");
    EXPECT_EQ(job.BackupTargetDirectory(), "/srv/backup/");
    job.setBackupTargetDirectory("");
    EXPECT_EQ(job.BackupTargetDirectory(), "/");
}

TEST(DatabaseJobRecord, OtherSettersStoreValuesUnchecked)
{
    CDatabaseJob job;
    job.setJobType(42);
    job.setFrequency(-7);
    job.setDayOfMonth(31000);
    job.setMDWFile(" spaced ");
    EXPECT_EQ(job.JobType(), 42);
    EXPECT_EQ(job.Frequency(), -7);
    EXPECT_EQ(job.DayOfMonth(), 31000);
    EXPECT_EQ(job.MDWFile(), " spaced ");
}

void expectTypeMismatch(const std::function<void()>& read)
{
    try {
        read();
        ADD_FAILURE() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::TypeMismatch);
    }
}

TEST(DatabaseJobRecord, NegativeCountsCannotBeReadBack)
{
    CDatabaseJob job;
    job.setDayOfWeek(-2);
    job.setDayOfMonth(-1);
    job.setNumberCopies(-32768);
    expectTypeMismatch([&] { job.DayOfWeek(); });
    expectTypeMismatch([&] { job.DayOfMonth(); });
    expectTypeMismatch([&] { job.NumberCopies(); });
    job.setNumberCopies(32767);
    EXPECT_EQ(job.NumberCopies(), 32767);
}

} // namespace
} // namespace quorvex

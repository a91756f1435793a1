// A hand-edited job file: it loads or is left out with its report, its next run is computed,
// and a save of what was read always lands: it loads again with the same schedule and
// numbers, and from then on a save and a load change nothing (the first load may take a pair of
// quotes off a value).
#include "fuzz_environment.hpp"

#include "jobs/database_job.hpp"

namespace {

using namespace quorvex;

bool sameSchedule(const CDatabaseJob& a, const CDatabaseJob& b)
{
    return a.JobType() == b.JobType() && a.DateLastRun() == b.DateLastRun() &&
           a.StartTime() == b.StartTime() && a.Frequency() == b.Frequency() &&
           a.Compress() == b.Compress() && a.Security() == b.Security();
}

bool sameRecord(const CDatabaseJob& a, const CDatabaseJob& b)
{
    return sameSchedule(a, b) && a.JobName() == b.JobName() && a.MDWFile() == b.MDWFile() &&
           a.UserID() == b.UserID() && a.Password() == b.Password() &&
           a.RepairCompactMDB() == b.RepairCompactMDB() &&
           a.AutoExecuteMDB() == b.AutoExecuteMDB() && a.BackupSourceMDB() == b.BackupSourceMDB() &&
           a.BackupTargetDirectory() == b.BackupTargetDirectory();
}

// Saves the record to a fresh file, which must then exist, and loads it back.
CDatabaseJob savedAndLoaded(const fuzz::Environment& environment, const CDatabaseJob& job)
{
    const std::string copy = environment.path("DatabaseJobs/Copy.tsk");
    std::filesystem::remove(copy);
    job.SaveDatabaseJob(copy);
    fuzz::require(std::filesystem::exists(copy));
    CDatabaseJob loaded;
    fuzz::require(loaded.OpenDatabaseJobOrSkip(copy));
    return loaded;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const fuzz::Environment environment;
    const std::string file = environment.path("DatabaseJobs/Job.tsk");
    environment.put("DatabaseJobs/Job.tsk", data, size);
    CDatabaseJob job;
    if (!job.OpenDatabaseJobOrSkip(file))
        return 0;
    try {
        job.DateNextRun();
    } catch (const fuzz::ProgramEnded&) {
        // A weekday mask or day that the getters refuse: the documented fatal report.
    }
    const CDatabaseJob again = savedAndLoaded(environment, job);
    fuzz::require(sameSchedule(job, again));
    fuzz::require(sameRecord(again, savedAndLoaded(environment, again)));
    return 0;
}

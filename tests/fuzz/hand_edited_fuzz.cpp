// A hand-edited INI file. As Quorvex.ini, the preferences load or the program ends with its
// report. As a job file, it loads or is left out with its report, its next run is computed, and
// a save of what was read always lands: it loads again with the same schedule, and from then on
// a save and a load change nothing (the first load may take a pair of quotes off a value, and
// the first save the seconds off a start time: the file keeps it as "hh:mm").
#include "fuzz_environment.hpp"

#include "jobs/database_job.hpp"
#include "support/date_text.hpp"
#include "support/preferences.hpp"

#include <iterator>

namespace {

using namespace quorvex;

// Saves the record to a fresh file, which must then exist, loads it back and gives its content.
std::string savedAndLoaded(const std::string& copy, const CDatabaseJob& job, CDatabaseJob& loaded)
{
    std::filesystem::remove(copy);
    job.SaveDatabaseJob(copy);
    fuzz::require(std::filesystem::exists(copy) && loaded.OpenDatabaseJobOrSkip(copy));
    std::ifstream in(copy, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static fuzz::Environment environment;
    environment.put("Quorvex.ini", data, size);
    try {
        LoadPreferences();
    } catch (const fuzz::ProgramEnded&) {
        // A number out of range: the documented fatal report.
    }
    const std::string file = environment.put("Job.tsk", data, size);
    CDatabaseJob job;
    if (!job.OpenDatabaseJobOrSkip(file))
        return 0;
    try {
        job.DateNextRun();
    } catch (const fuzz::ProgramEnded&) {
        // A weekday mask or day that the getters refuse: the documented fatal report.
    }
    CDatabaseJob again, third;
    savedAndLoaded(file + ".copy", job, again);
    fuzz::require(job.JobType() == again.JobType() && job.DateLastRun() == again.DateLastRun() &&
                  formatTime(job.StartTime()) == formatTime(again.StartTime()) &&
                  job.Frequency() == again.Frequency() && job.Compress() == again.Compress() &&
                  job.Security() == again.Security());
    const std::string second = savedAndLoaded(file + ".copy", again, third);
    fuzz::require(savedAndLoaded(file + ".copy", third, again) == second);
    return 0;
}

#include "ctl_due.hpp"

#include "ctl_common.hpp"
#include "ctl_run.hpp"

#include "jobs/database_job.hpp"
#include "jobs/job_directory.hpp"
#include "platform/single_instance.hpp"
#include "support/app_info.hpp"
#include "support/clock.hpp"
#include "support/date_text.hpp"
#include "support/error_handler.hpp"
#include "support/ini_file.hpp"
#include "support/preferences.hpp"

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace quorvex::ctl {

namespace {

constexpr const char* kSection = "DueCheck";
constexpr const char* kLastCheck = "LastCheck";

std::string stateFile()
{
    return dataFile("DueCheck.ini");
}

// Answers every "now" with one moment while it lives.
class MomentClock final : public Clock {
public:
    explicit MomentClock(DateTime moment) : m_moment(moment), m_before(setClock(this)) {}
    ~MomentClock() override { setClock(m_before); }
    MomentClock(const MomentClock&) = delete;
    MomentClock& operator=(const MomentClock&) = delete;
    DateTime now() const override { return m_moment; }

private:
    DateTime m_moment;
    Clock* m_before;
};

// The job files whose due moment, as a list made at the previous check shows it, lies before
// now; a file the reader rejects is left out with its error-log entry, as the agent does.
std::vector<std::string> dueJobFiles(DateTime previous, DateTime now)
{
    std::vector<std::string> due;
    CDatabaseJob job;
    for (const std::string& file : listJobFiles(DatabaseJobsPath())) {
        if (job.OpenDatabaseJobOrSkip(file) && dueSince(job, previous, now))
            due.push_back(file);
    }
    return due;
}

// The last run is saved before the job runs, so a job that fails or is cut short is not
// retried before its following occurrence.
void advanceLastRun(const std::string& file)
{
    CDatabaseJob job;
    job.OpenDatabaseJob(file);
    job.setDateLastRun(Today());
    job.SaveDatabaseJob(file);
}

int checkDueJobs()
{
    LoadPreferences();
    const DateTime now = Now();
    const std::optional<DateTime> before = previousCheck();
    // Noted before anything runs: a job that ends the program is not run again by the next
    // check either, as the agent would not run it again.
    WriteIniData(kSection, kLastCheck, formatLogStamp(now), stateFile());
    if (!before)
        return 0;
    return executeJobFiles(dueJobFiles(*before, now), advanceLastRun);
}

} // namespace

// A value that is not a moment counts as no check: it is written again at once.
std::optional<DateTime> previousCheck()
{
    std::string text;
    GetIniData(kSection, kLastCheck, "", text, stateFile());
    int month = 0, day = 0, year = 0, hour = 0, minute = 0, second = 0;
    char end = 0;
    if (std::sscanf(text.c_str(), "%2d/%2d/%4d %2d:%2d:%2d%c", &month, &day, &year, &hour, &minute,
                    &second, &end) != 6 ||
        !DateTime::isValidDate(year, month, day) || hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return DateTime::fromDate(year, month, day) + DateTime::fromTime(hour, minute, second);
}

bool dueSince(const CDatabaseJob& job, std::optional<DateTime> previous, DateTime now)
{
    if (!previous)
        return false;
    DateTime nextRun;
    {
        MomentClock listing(*previous);
        nextRun = job.DateNextRun();
    }
    return now > dueMoment(nextRun, job.StartTime());
}

int dueCommand(std::span<char* const> args)
{
    const auto options = parseCommonOptions(args);
    if (!options)
        return usage();
    if (!installEnvironment(*options))
        return kJobFailed;
    return trapFatal("quorvexctl", "due()", [] {
        const SingleInstance instance(app().dataDirectory, instanceLockName());
        if (instance.anotherInstanceRuns()) {
            std::cerr << "quorvexctl: the Quorvex agent runs on " << app().dataDirectory
                      << " and runs its due jobs itself\n";
            return kAgentRunsStatus;
        }
        return checkDueJobs();
    });
}

} // namespace quorvex::ctl

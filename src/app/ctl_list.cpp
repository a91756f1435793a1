#include "ctl_list.hpp"

#include "ctl_common.hpp"
#include "ctl_due.hpp"

#include "jobs/database_job.hpp"
#include "jobs/job_directory.hpp"
#include "support/clock.hpp"
#include "support/date_text.hpp"
#include "support/error_handler.hpp"
#include "support/preferences.hpp"

#include <algorithm>
#include <iostream>
#include <optional>
#include <string_view>
#include <vector>

namespace quorvex::ctl {

namespace {

void printJob(const CDatabaseJob& job, const std::string& path)
{
    std::cout << job.JobName() << '\t' << formatDate(job.DateLastRun()) << '\t'
              << formatDate(job.DateNextRun()) << '\t' << formatTime(job.StartTime()) << '\t'
              << job.JobType() << '\t' << path;
}

// What the next due-job check ("due" or "-") and a start that makes up missed runs (the
// missed moment or "-") would do with the job now.
void printDue(const CDatabaseJob& job, std::optional<DateTime> previous, DateTime now)
{
    const std::optional<DateTime> missed = job.MissedRun();
    std::cout << '\t' << (dueSince(job, previous, now) ? "due" : "-") << '\t'
              << (missed ? formatDate(*missed) + " " + formatTime(*missed) : "-");
}

} // namespace

int listCommand(std::span<char* const> args)
{
    std::vector<char*> rest(args.begin(), args.end());
    const auto due = std::find_if(rest.begin(), rest.end(),
                                  [](const char* arg) { return std::string_view(arg) == "--due"; });
    const bool showDue = due != rest.end();
    if (showDue)
        rest.erase(due);
    const auto options = parseCommonOptions(rest);
    if (!options)
        return usage();
    if (!installEnvironment(*options))
        return 1;
    return trapFatal("quorvexctl", "list()", [showDue] {
        const std::optional<DateTime> previous = showDue ? previousCheck() : std::nullopt;
        const DateTime now = Now();
        // A job file the reader rejects is reported in the error log and left out, as the
        // agent leaves it out of its list.
        for (const std::string& path : listJobFiles(DatabaseJobsPath())) {
            CDatabaseJob job;
            if (!job.OpenDatabaseJobOrSkip(path))
                continue;
            printJob(job, path);
            if (showDue)
                printDue(job, previous, now);
            std::cout << '\n';
        }
        std::cout.flush();
        return 0;
    });
}

int pathsCommand(std::span<char* const> args)
{
    const auto options = parseCommonOptions(args);
    if (!options)
        return usage();
    if (!installEnvironment(*options))
        return 1;
    std::cout << pathsText() << std::flush;
    return 0;
}

} // namespace quorvex::ctl

#include "ctl_list.hpp"

#include "ctl_common.hpp"

#include "jobs/database_job.hpp"
#include "jobs/job_directory.hpp"
#include "support/date_text.hpp"
#include "support/error_handler.hpp"
#include "support/preferences.hpp"

#include <iostream>

namespace quorvex::ctl {

namespace {

void printJob(const CDatabaseJob& job, const std::string& path)
{
    std::cout << job.JobName() << '\t' << formatDate(job.DateLastRun()) << '\t'
              << formatDate(job.DateNextRun()) << '\t' << formatTime(job.StartTime()) << '\t'
              << job.JobType() << '\t' << path << '\n';
}

} // namespace

int listCommand(std::span<char* const> args)
{
    const auto options = parseCommonOptions(args);
    if (!options)
        return usage();
    if (!installEnvironment(*options))
        return 1;
    return trapFatal("quorvexctl", "list()", [] {
        // A job file the reader rejects is reported in the error log and left out, as the
        // agent leaves it out of its list.
        for (const std::string& path : listJobFiles(DatabaseJobsPath())) {
            CDatabaseJob job;
            if (job.OpenDatabaseJobOrSkip(path))
                printJob(job, path);
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

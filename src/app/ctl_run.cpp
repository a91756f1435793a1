#include "ctl_run.hpp"

#include "ctl_common.hpp"

#include "execution/execute_job.hpp"
#include "jobs/database_job.hpp"
#include "jobs/job_directory.hpp"
#include "support/error_handler.hpp"
#include "support/preferences.hpp"

#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex::ctl {

namespace {

// The console has no lights; it shows the progress text line by line.
class ConsoleStatus final : public StatusDisplay {
public:
    void setMessageText(const std::string& text) override
    {
        if (!text.empty())
            std::cerr << text << std::endl;
    }
    void setLightVisible(int, bool) override {}
    void refresh() override {}
};

struct RunArguments {
    std::vector<std::string> names;
    std::vector<char*> options;
};

RunArguments parseRunArguments(std::span<char* const> args)
{
    RunArguments split;
    for (size_t i = 0; i < args.size(); ++i) {
        if (std::string_view(args[i]) != "--app-dir") {
            split.names.emplace_back(args[i]);
            continue;
        }
        split.options.push_back(args[i]);
        if (i + 1 < args.size())
            split.options.push_back(args[++i]);
    }
    return split;
}

// The job file of every name, in the order given; the first file in listing order wins when
// several carry the same name. Nothing when a name has no job file; that is reported.
std::optional<std::vector<std::string>> findJobFiles(const std::vector<std::string>& names)
{
    std::map<std::string, std::string> fileOfName;
    for (const std::string& path : listJobFiles(DatabaseJobsPath())) {
        CDatabaseJob job;
        if (job.OpenDatabaseJobOrSkip(path))
            fileOfName.emplace(job.JobName(), path);
    }
    std::vector<std::string> files;
    for (const std::string& name : names) {
        const auto found = fileOfName.find(name);
        if (found == fileOfName.end()) {
            std::cerr << "quorvexctl: no job named '" << name << "'\n";
            return std::nullopt;
        }
        files.push_back(found->second);
    }
    return files;
}

int runJobs(const std::vector<std::string>& names)
{
    const auto files = findJobFiles(names);
    if (!files)
        return kUsageStatus;
    return executeJobFiles(*files);
}

} // namespace

int executeJobFiles(const std::vector<std::string>& files,
                    const std::function<void(const std::string&)>& beforeEach)
{
    ConsoleStatus status;
    bool anyFailed = false;
    for (const std::string& file : files) {
        if (beforeEach)
            beforeEach(file);
        CDatabaseJob job;
        job.OpenDatabaseJob(file);
        ExecuteDatabaseJobNow(job, status);
        anyFailed = anyFailed || job.Failure();
    }
    return anyFailed ? kJobFailed : 0;
}

int runCommand(std::span<char* const> args)
{
    const RunArguments split = parseRunArguments(args);
    const auto options = parseCommonOptions(split.options);
    if (split.names.empty() || !options)
        return usage();
    if (!installEnvironment(*options))
        return kJobFailed;
    return trapFatal("quorvexctl", "run()", [&] {
        LoadPreferences();
        return runJobs(split.names);
    });
}

} // namespace quorvex::ctl

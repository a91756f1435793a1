#include "execution/execute_job.hpp"

#include "execution/actions.hpp"
#include "support/desktop.hpp"
#include "support/error_handler.hpp"
#include "support/strings.hpp"
#include "support/transaction_log.hpp"

#include <array>

namespace quorvex {

namespace {

constexpr int kHeaderWidth = 60;
constexpr int kEventPasses = 20;

void showLights(StatusDisplay& display, const std::array<bool, StatusDisplay::kLightCount>& picture)
{
    for (int i = 0; i < StatusDisplay::kLightCount; ++i)
        display.setLightVisible(i, picture[static_cast<size_t>(i)]);
    display.refresh();
    for (int i = 0; i < kEventPasses; ++i)
        desktop().doEvents();
}

// "-- Name ----...": padded with dashes to a fixed width of characters; a longer name gets
// none.
std::string headerLine(const std::string& jobName)
{
    const auto length = static_cast<int>(characterCount(jobName));
    const size_t dashes = length < kHeaderWidth ? static_cast<size_t>(kHeaderWidth - length) : 0;
    return "-- " + jobName + " " + std::string(dashes, '-');
}

int16_t runAction(CDatabaseJob& job, StatusDisplay& display)
{
    switch (job.JobType()) {
    case job_type::RepairCompact:
        return ExecuteRepairCompactNow(job, display);
    case job_type::AutoExecute:
        return ExecuteAutoExecNow(job);
    case job_type::Backup:
        return ExecuteBackupNow(job, display);
    default:
        return 0;
    }
}

} // namespace

void ShowLightsIdle(StatusDisplay& display)
{
    showLights(display, {true, false, false, true});
}

void ShowLightsRunning(StatusDisplay& display)
{
    showLights(display, {false, true, true, false});
}

int16_t ExecuteDatabaseJobNow(CDatabaseJob& job, StatusDisplay& display)
{
    return trapFatal("CDatabaseJob.cls", "ExecuteDatabaseJobNow()", [&] {
        desktop().setBusyPointer(true);
        display.setMessageText("Initializing...");
        ShowLightsRunning(display);
        display.setMessageText("Executing " + job.JobName() + "...");
        LogEvent(headerLine(job.JobName()));

        const int16_t result = runAction(job, display);

        display.setMessageText("");
        ShowLightsIdle(display);
        desktop().setBusyPointer(false);
        return result;
    });
}

} // namespace quorvex

#include "execution/access.hpp"
#include "execution/actions.hpp"
#include "execution/file_checks.hpp"
#include "execution/run_failure.hpp"
#include "support/error_handler.hpp"
#include "support/transaction_log.hpp"

namespace quorvex {

namespace {

// Every expected failure is one log line; the run itself still ends normally.
void compact(const CDatabaseJob& job, StatusDisplay& display)
{
    const std::string& mdb = job.RepairCompactMDB();
    std::string access;
    if (!CheckForAccess(access)) {
        LogEvent("Access does not exist on this machine.");
        return;
    }
    if (!CheckForExclusive(mdb)) {
        LogEvent("The MDB file to Repair and Compact cannot be opened exclusively.");
        return;
    }
    if (!atPath(mdb, [&] { return plainFileExists(mdb); })) {
        LogEvent("MDB File '" + mdb + "' does not exist.");
        return;
    }
    if (refuseDoubleQuotes(job, access, mdb))
        return;
    display.setMessageText("Compacting " + job.JobName() + "...");
    runAccess("Compacting file '" + mdb + "'.", compactCommandLine(job, access),
              "Compact the MDB File '" + mdb + "'.");
}

} // namespace

int16_t ExecuteRepairCompactNow(CDatabaseJob& job, StatusDisplay& display)
{
    // Like every other failure of this action, one of its environment ends the run with its
    // log line and no result of its own.
    const auto ended = [&] {
        job.setFailure(false);
        return int16_t{0};
    };
    return trapRun(
        "CDatabaseJob.cls", "ExecuteRepairCompactNow()",
        [&] {
            compact(job, display);
            return ended();
        },
        ended);
}

} // namespace quorvex

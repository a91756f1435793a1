#include "execution/access.hpp"
#include "execution/actions.hpp"
#include "execution/file_checks.hpp"
#include "execution/run_failure.hpp"
#include "support/desktop.hpp"
#include "support/error_handler.hpp"
#include "support/transaction_log.hpp"

namespace quorvex {

namespace {

// Opens the database in Access so its start-up code runs, and waits until Access is closed.
void autoExecute(const CDatabaseJob& job)
{
    const std::string& mdb = job.AutoExecuteMDB();
    std::string access;
    if (!CheckForAccess(access)) {
        MsgBox(std::string("Access does not exist on this machine.") + kCrLf + kCrLf +
                   "Operation has been cancelled.",
               mb::OkOnly | mb::Exclamation, "Error");
        return;
    }
    if (!atPath(mdb, [&] { return plainFileExists(mdb); })) {
        LogEvent("Error #UD2 - MDB File '" + mdb + "' does not exist.");
        return;
    }
    if (refuseDoubleQuotes(job, access, mdb))
        return;
    runAccess("Auto Executing file '" + mdb + "'.", autoExecuteCommandLine(job, access),
              "Auto Execute MDB File: '" + mdb + "'.");
}

} // namespace

int16_t ExecuteAutoExecNow(CDatabaseJob& job)
{
    // Like every other failure of this action, one of its environment ends the run with its
    // log line and no result of its own.
    const auto ended = [&] {
        job.setFailure(false);
        return int16_t{0};
    };
    return trapRun(
        "CDatabaseJob.cls", "ExecuteAutoExecNow()",
        [&] {
            autoExecute(job);
            return ended();
        },
        ended);
}

} // namespace quorvex

#pragma once

#include "execution/status_display.hpp"
#include "jobs/database_job.hpp"

#include <cstdint>

namespace quorvex {

// The three job actions behind ExecuteDatabaseJobNow. Each reports its own expected failures
// in the transaction log and returns 0 or, for a failed backup, -1.
int16_t ExecuteRepairCompactNow(CDatabaseJob& job, StatusDisplay& display);
int16_t ExecuteAutoExecNow(CDatabaseJob& job);
int16_t ExecuteBackupNow(CDatabaseJob& job, StatusDisplay& display);

// The two pictures of the status lights; each ends with a repaint and 20 passes over pending
// window events, so the window stays alive between the steps of a job.
void ShowLightsIdle(StatusDisplay& display);
void ShowLightsRunning(StatusDisplay& display);

} // namespace quorvex

#pragma once

#include "execution/status_display.hpp"
#include "jobs/database_job.hpp"

#include <cstdint>

namespace quorvex {

// Runs one loaded job at once: progress text, lights and busy pointer on the display, the
// header line in the transaction log, then the action for its JobType. Returns the action's
// result (0 for an unknown JobType). Neither reads nor writes the job file.
int16_t ExecuteDatabaseJobNow(CDatabaseJob& job, StatusDisplay& display);

} // namespace quorvex

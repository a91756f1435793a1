#pragma once

#include "jobs/database_job.hpp"

#include <optional>
#include <span>

namespace quorvex::ctl {

// Exit status when the agent runs on the same data folder.
inline constexpr int kAgentRunsStatus = 3;

// "quorvexctl due [--app-dir DIR]": one due-job check, for machines without a desktop where a
// timer starts it every minute. It holds the agent's instance lock, so it never runs beside
// the agent (status kAgentRunsStatus, nothing runs). Its job list is made at the previous
// check, as the agent's rows are made at start-up: a job is due when the present moment is
// strictly later than its next run as seen then plus its start time. Due jobs run in listing
// order, each with its last run saved first. The first check only notes the moment, as a
// freshly started agent runs nothing that came due before it started. Exit status as for run.
int dueCommand(std::span<char* const> args);

// The moment of the previous due-job check; nothing before the first one.
std::optional<DateTime> previousCheck();
// Whether the next check, made now, runs the job: its next run as seen at the previous check
// plus its start time lies before now. Never before the first check.
bool dueSince(const CDatabaseJob& job, std::optional<DateTime> previous, DateTime now);

} // namespace quorvex::ctl

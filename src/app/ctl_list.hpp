#pragma once

#include <span>

namespace quorvex::ctl {

// "quorvexctl list [--app-dir DIR]": one tab-separated line per job file, in the order
// start-up loads them: name, last run, next run, start time, job type, file path.
int listCommand(std::span<char* const> args);

// "quorvexctl paths [--app-dir DIR]": where quorvexctl and the agent look, one tab-separated
// line each (program folder, data folder, jobs, preferences, logs, lock).
int pathsCommand(std::span<char* const> args);

} // namespace quorvex::ctl

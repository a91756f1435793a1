#pragma once

#include <span>

namespace quorvex::ctl {

// "quorvexctl list [--app-dir DIR]": one tab-separated line per job file, in the order
// start-up loads them: name, last run, next run, start time, job type, file path.
int listCommand(std::span<char* const> args);

} // namespace quorvex::ctl

#pragma once

#include <span>

namespace quorvex::ctl {

// "quorvexctl run NAME... [--app-dir DIR]": runs the jobs of those names at once, in the order
// given, as the schedule window's Execute runs them (DateLastRun is left alone); the progress
// text goes to standard error. Exit status 0 when every job ran and none failed, 1 when one
// failed, 2 when a name matches no job file (then nothing runs).
int runCommand(std::span<char* const> args);

} // namespace quorvex::ctl

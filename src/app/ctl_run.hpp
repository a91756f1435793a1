#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

namespace quorvex::ctl {

// "quorvexctl run NAME... [--app-dir DIR]": runs the jobs of those names at once, in the order
// given, as the schedule window's Execute runs them (DateLastRun is left alone); the progress
// text goes to standard error. Exit status 0 when every job ran and none failed, 1 when one
// failed, 2 when a name matches no job file (then nothing runs).
int runCommand(std::span<char* const> args);

// Exit status when a job failed (and of any fatal error).
inline constexpr int kJobFailed = 1;

// Runs the jobs of these files one after another, each as Execute runs it, printing the
// progress to standard error; beforeEach, when given, is called with the file first. 0 when
// none failed, kJobFailed otherwise.
int executeJobFiles(const std::vector<std::string>& files,
                    const std::function<void(const std::string&)>& beforeEach = {});

} // namespace quorvex::ctl

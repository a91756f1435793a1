#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

// The full paths of the job files in a jobs directory, in the order the directory listing
// gives them: every plain file, whatever its name; hidden and system files (on Linux, names
// with a leading ".") and sub-directories are skipped. A missing directory has no job files.
// Start-up fills the job list in this order. Other failures to list are the classic run-time error
// for them.
std::vector<std::string> listJobFiles(const std::string& jobsDirectory);

} // namespace quorvex

namespace quorvex {

// The characters that a job's name loses on its way to its file name: the double quote and
// "' ;@#!$%^&*()". Two names that differ only in these give the same file.
inline constexpr std::string_view kJobNameBadChars = "\"' ;@#!$%^&*()";

// The name of a job's file in the jobs directory: the job name without the characters above,
// without "/" (a name must never reach outside the jobs directory) and without leading dots
// (a hidden file would never be listed again), followed by ".tsk". "" when nothing of the
// name is left, for a name that cannot be saved.
std::string jobFileName(std::string_view jobName);

// Deletes a job file by its exact name, also when the name holds "*" or "?"; a file that is
// already gone is no error.
void deleteJobFile(const std::string& path);

} // namespace quorvex

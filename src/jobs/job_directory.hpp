#pragma once

#include <string>
#include <vector>

namespace quorvex {

// The full paths of the job files in a jobs directory, in the order the directory listing
// gives them: every plain file, whatever its name; hidden files (a leading ".") and
// sub-directories are skipped. A missing directory has no job files. Start-up fills the job
// list in this order. Other failures to list are the classic run-time error for them.
std::vector<std::string> listJobFiles(const std::string& jobsDirectory);

} // namespace quorvex

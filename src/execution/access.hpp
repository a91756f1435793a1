#pragma once

#include "jobs/database_job.hpp"

#include <string>

namespace quorvex {

// Access is started minimized and made the active window.
inline constexpr int kAccessWindowStyle = 2;

// Whether a program is registered to open database files, asked of the desktop through the
// probe file TestForAccess.mdb in the application directory. sAccessPath receives the
// program's full path, or "" when there is none.
bool CheckForAccess(std::string& sAccessPath);

// True when no lock file (the database's name with the extension "ldb") lies beside the
// database, that is when nobody has it open.
bool CheckForExclusive(const std::string& sMDBPath);

// The user-level security switches for Access's command line, "" when the job has no security.
std::string accessSecuritySwitches(const CDatabaseJob& job);

} // namespace quorvex

#pragma once

#include "jobs/database_job.hpp"

#include <string>

namespace quorvex {

// Whether a program is registered to open database files, asked of the desktop through the
// probe file TestForAccess.mdb in the program folder. sAccessPath receives the
// program's full path, or "" when there is none.
bool CheckForAccess(std::string& sAccessPath);

// True when no lock file (the database's name with the extension "ldb") lies beside the
// database, that is when nobody has it open.
bool CheckForExclusive(const std::string& sMDBPath);

// Access's command lines for the job's repair and compact and for its auto execute: the
// program and the database quoted, the switches after them, the user-level security switches
// (user and password unquoted unless they hold a blank) when the job has security.
std::string compactCommandLine(const CDatabaseJob& job, const std::string& accessPath);
std::string autoExecuteCommandLine(const CDatabaseJob& job, const std::string& accessPath);

// A double quote in any part of Access's command line would end its quoting early and let the
// rest reach Access as switches or another database: such a run is refused with a log line
// (true).
bool refuseDoubleQuotes(const CDatabaseJob& job, const std::string& accessPath,
                        const std::string& mdb);

// Logs startLine, runs Access on the command line and waits for it; an exit code other than 0
// is logged as "Error #<code> - Quorvex was unable to <failure>".
void runAccess(const std::string& startLine, const std::string& commandLine,
               const std::string& failure);

} // namespace quorvex

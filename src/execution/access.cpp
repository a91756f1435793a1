#include "execution/access.hpp"

#include "execution/command_line.hpp"
#include "execution/file_checks.hpp"
#include "execution/run_failure.hpp"
#include "execution/shell_and_close.hpp"
#include "support/app_info.hpp"
#include "support/error_handler.hpp"
#include "support/files.hpp"
#include "support/transaction_log.hpp"

namespace quorvex {

namespace {

// Access is started minimized and made the active window.
constexpr int kAccessWindowStyle = 2;
constexpr std::string_view kNoStartup = " /NOSTARTUP";

// Blanks only, as the classic Trim removes them: a tab stays part of the registered path.
void trimSpaces(std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        text.clear();
        return;
    }
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Some registrations hand back the program with Access's own start switch behind it.
void cleanProgramPath(std::string& path)
{
    for (char& c : path)
        if (c == '\0')
            c = ' ';
    trimSpaces(path);
    if (path.ends_with(kNoStartup))
        path.erase(path.size() - kNoStartup.size());
    trimSpaces(path);
}

std::string lockFileOf(const std::string& mdbPath)
{
    const auto slash = mdbPath.rfind(kPathSeparator);
    const auto nameStart = slash == std::string::npos ? 0 : slash + 1;
    const auto dot = mdbPath.rfind('.');
    const bool hasExtension = dot != std::string::npos && dot >= nameStart;
    return (hasExtension ? mdbPath.substr(0, dot) : mdbPath) + ".ldb";
}

// A user ID or password with a blank in it is quoted, so it stays one argument; any other is
// written bare, as Access has always been given it.
std::string oneArgument(const std::string& text)
{
    return text.find_first_of(" \t") == std::string::npos ? text : inQuotes(text);
}

std::string securitySwitches(const CDatabaseJob& job)
{
    if (!job.Security())
        return {};
    return " /USER " + oneArgument(job.UserID()) + " /PWD " + oneArgument(job.Password()) +
           " /WRKGRP " + inQuotes(job.MDWFile());
}

} // namespace

bool CheckForAccess(std::string& sAccessPath)
{
    return trapFatal("CDatabaseJob.cls", "CheckForAccess()", [&] {
        sAccessPath = FindExecutable(programFile("TestForAccess.mdb"));
        const bool found = !sAccessPath.empty();
        cleanProgramPath(sAccessPath);
        return found;
    });
}

bool CheckForExclusive(const std::string& sMDBPath)
{
    // A lock file that cannot be looked up fails the run that asked, not the program.
    return trapFatalButEnvironment("CDatabaseJob.cls", "CheckForExclusive()", [&] {
        const std::string lockFile = lockFileOf(sMDBPath);
        return !atPath(lockFile, [&] { return plainFileExists(lockFile); });
    });
}

std::string compactCommandLine(const CDatabaseJob& job, const std::string& accessPath)
{
    return inQuotes(accessPath) + " " + inQuotes(job.RepairCompactMDB()) + " /NOSTARTUP /COMPACT " +
           securitySwitches(job);
}

std::string autoExecuteCommandLine(const CDatabaseJob& job, const std::string& accessPath)
{
    return inQuotes(accessPath) + " " + inQuotes(job.AutoExecuteMDB()) + securitySwitches(job);
}

bool refuseDoubleQuotes(const CDatabaseJob& job, const std::string& accessPath,
                        const std::string& mdb)
{
    const std::string parts[] = {accessPath, mdb, job.Security() ? job.UserID() : "",
                                 job.Security() ? job.Password() : "",
                                 job.Security() ? job.MDWFile() : ""};
    for (const std::string& part : parts)
        if (part.find('"') != std::string::npos) {
            // The password may be the one that holds it, so no value is written out.
            LogEvent("Quorvex cannot start Access: a double quote in the path of Access, the "
                     "database or the workgroup file, the user ID or the password would change "
                     "its command line.");
            return true;
        }
    return false;
}

void runAccess(const std::string& startLine, const std::string& commandLine,
               const std::string& failure)
{
    LogEvent(startLine);
    const int32_t code = ShellAndClose(commandLine, kAccessWindowStyle);
    if (code != 0)
        LogEvent("Error #" + std::to_string(code) + " - Quorvex was unable to " + failure);
}

} // namespace quorvex

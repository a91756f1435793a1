#pragma once

#include <cstdint>
#include <string>

namespace quorvex {

// The process-wide preferences, kept in "Quorvex.ini" in the data folder.
struct Preferences {
    // Used as a Boolean: any non-zero value is true (written back as -1).
    int16_t StopOnError = 0;
    // Highest number of earlier backup copies.
    int16_t NumberCopies = 0;
    // The web browser program.
    std::string IEPath;
    // Used as a Boolean: a job whose scheduled run passed while the agent was not running runs
    // once at start-up. Off unless the user turns it on.
    int16_t CatchUpMissedRuns = 0;
    // Used as a Boolean: each backup is read back and checked before it takes the place of
    // the earlier copies. Off unless the user turns it on.
    int16_t VerifyBackups = 0;
};

Preferences& preferences();

// Reads the three preferences (defaults -1, 99 and, as the browser, the full path of the
// program that opens web addresses: xdg-open on Linux, the http protocol's program on Windows).
void LoadPreferences();
// Writes the three preferences; a failed write leaves the file as it was and is not reported.
void SavePreferences();

std::string preferencesFilePath();
// The jobs directory: the data folder, "DatabaseJobs" and a trailing separator.
std::string DatabaseJobsPath();

// Where the program looks, one "what<TAB>path" line each: the program folder, the data
// folder, the jobs directory, the preferences, the two logs and the instance lock.
std::string pathsText();

} // namespace quorvex

#pragma once

#include <string>
#include <string_view>

namespace quorvex {

// The program's version and build number, filled in by the build.
extern const int kVersionMajor;
extern const int kVersionMinor;
extern const int kBuildNumber;

// What the program knows of itself: where it lives, where its user's data lives and what it
// is called.
struct AppInfo {
    // The program folder, which holds what ships: the programs, the zip stand-in,
    // TestForAccess.mdb and Help/. Without a trailing separator.
    std::string directory;
    // The data folder, which holds what the user makes: DatabaseJobs/, Quorvex.ini, the logs
    // and the instance lock. Without a trailing separator; setApp makes an empty one the
    // program folder, which it is wherever that is writable.
    std::string dataDirectory;
    // The program file's name without extension; the logs are named after it.
    std::string programName = "quorvex";
    std::string title = "Quorvex";
    int major = kVersionMajor;
    int minor = kVersionMinor;
    int revision = kBuildNumber;
};

const AppInfo& app();
void setApp(AppInfo info);

// A file in the program folder.
std::string programFile(const std::string& name);
// A file in the data folder.
std::string dataFile(const std::string& name);

// The folder of the running program file (from /proc/self/exe).
std::string runningProgramDirectory();

// "quorvex" in the user's data home: the data folder of an installed package.
std::string userDataFolder();

// The data folder of a program that lives in programDirectory: the program folder itself
// when this user may write there (the build tree, a prefix the user owns), otherwise
// "quorvex" in the user's data home (an installed package), created open to the user only
// when missing. A folder that cannot be created is the classic error for it.
std::string dataDirectoryFor(const std::string& programDirectory);

// Installs the running program's folders: the program folder is where its file lies, the
// data folder as dataDirectoryFor finds it. False, with the reason on standard error, when
// the data folder cannot be made.
bool setUpFolders(std::string_view programName);

// The name of the instance lock in the data folder; the agent holds it while it runs, and so
// does every command-line run of the due jobs.
std::string instanceLockName();

} // namespace quorvex

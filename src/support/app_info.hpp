#pragma once

#include <string>

namespace quorvex {

// The program's version and build number, filled in by the build.
extern const int kVersionMajor;
extern const int kVersionMinor;
extern const int kBuildNumber;

// What the program knows of itself: where it lives and what it is called.
struct AppInfo {
    // The folder that holds the program file, without a trailing separator.
    std::string directory;
    // The program file's name without extension; the logs are named after it.
    std::string programName = "quorvex";
    std::string title = "Quorvex";
    int major = kVersionMajor;
    int minor = kVersionMinor;
    int revision = kBuildNumber;
};

const AppInfo& app();
void setApp(AppInfo info);

// A file in the application directory.
std::string appFile(const std::string& name);

// The folder of the running program file (from /proc/self/exe).
std::string runningProgramDirectory();

} // namespace quorvex

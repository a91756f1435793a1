#pragma once

#include <string>

namespace quorvex {

// What the program knows of itself: where it lives and what it is called.
struct AppInfo {
    // The folder that holds the program file, without a trailing separator.
    std::string directory;
    // The program file's name without extension; the logs are named after it.
    std::string programName = "quorvex";
    std::string title = "Quorvex";
    int major = QUORVEX_VERSION_MAJOR;
    int minor = QUORVEX_VERSION_MINOR;
    int revision = QUORVEX_VERSION_BUILD;
};

const AppInfo& app();
void setApp(AppInfo info);

// A file in the application directory.
std::string appFile(const std::string& name);

// The folder of the running program file (from /proc/self/exe).
std::string runningProgramDirectory();

} // namespace quorvex

#include "support/app_info.hpp"

#include "platform/paths.hpp"
#include "platform/program_file.hpp"
#include "platform/user_folders.hpp"
#include "support/error.hpp"

#include <filesystem>
#include <iostream>
#include <utility>

namespace quorvex {

const int kVersionMajor = QUORVEX_VERSION_MAJOR;
const int kVersionMinor = QUORVEX_VERSION_MINOR;
const int kBuildNumber = QUORVEX_BUILD_NUMBER;

namespace {
AppInfo g_app{runningProgramDirectory(), runningProgramDirectory()};
} // namespace

const AppInfo& app()
{
    return g_app;
}

void setApp(AppInfo info)
{
    if (info.dataDirectory.empty())
        info.dataDirectory = info.directory;
    g_app = std::move(info);
}

std::string programFile(const std::string& name)
{
    return g_app.directory + kPathSeparator + name;
}

std::string dataFile(const std::string& name)
{
    return g_app.dataDirectory + kPathSeparator + name;
}

std::string runningProgramDirectory()
{
    const std::string exe = runningProgramFile();
    return exe.empty() ? std::filesystem::current_path().string()
                       : std::filesystem::path(exe).parent_path().string();
}

std::string userDataFolder()
{
    return userDataHome() + kPathSeparator + "quorvex";
}

namespace {

// Installed programs under /usr are read-only by the file-system hierarchy's rules, also for
// root, who could write there: data kept there would outlive the package's removal.
bool underUsr(const std::string& folder)
{
    return folder == "/usr" || folder.starts_with("/usr/");
}

} // namespace

std::string dataDirectoryFor(const std::string& programDirectory)
{
    if (folderWritable(programDirectory) && !underUsr(programDirectory))
        return programDirectory;
    const std::string folder = userDataFolder();
    createPrivateFolder(folder);
    return folder;
}

bool setUpFolders(std::string_view programName)
{
    AppInfo info;
    info.directory = runningProgramDirectory();
    try {
        info.dataDirectory = dataDirectoryFor(info.directory);
    } catch (const RuntimeError& e) {
        // No log can be written without a data folder, so this goes to standard error only.
        std::cerr << programName << ": cannot create the data folder " << userDataFolder() << ": "
                  << e.description() << std::endl;
        return false;
    }
    setApp(std::move(info));
    return true;
}

std::string instanceLockName()
{
    return g_app.programName + ".lock";
}

} // namespace quorvex

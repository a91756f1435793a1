#include "support/app_info.hpp"

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
    return g_app.directory + "/" + name;
}

std::string dataFile(const std::string& name)
{
    return g_app.dataDirectory + "/" + name;
}

std::string runningProgramDirectory()
{
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path().string() : exe.parent_path().string();
}

std::string userDataFolder()
{
    return userDataHome() + "/quorvex";
}

std::string dataDirectoryFor(const std::string& programDirectory)
{
    if (folderWritable(programDirectory))
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

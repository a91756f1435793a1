#include "support/app_info.hpp"

#include "platform/paths.hpp"
#include "platform/program_file.hpp"

#include <filesystem>
#include <utility>

namespace quorvex {

const int kVersionMajor = QUORVEX_VERSION_MAJOR;
const int kVersionMinor = QUORVEX_VERSION_MINOR;
const int kBuildNumber = QUORVEX_BUILD_NUMBER;

namespace {
AppInfo g_app{runningProgramDirectory()};
} // namespace

const AppInfo& app()
{
    return g_app;
}

void setApp(AppInfo info)
{
    g_app = std::move(info);
}

std::string appFile(const std::string& name)
{
    return g_app.directory + kPathSeparator + name;
}

std::string runningProgramDirectory()
{
    const std::string exe = runningProgramFile();
    return exe.empty() ? std::filesystem::current_path().string()
                       : std::filesystem::path(exe).parent_path().string();
}

} // namespace quorvex

#include "support/app_info.hpp"

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
    return g_app.directory + "/" + name;
}

std::string runningProgramDirectory()
{
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path().string() : exe.parent_path().string();
}

} // namespace quorvex

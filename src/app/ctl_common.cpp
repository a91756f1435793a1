#include "ctl_common.hpp"

#include "platform/paths.hpp"
#include "support/app_info.hpp"
#include "support/desktop.hpp"

#include <filesystem>
#include <iostream>
#include <string_view>

namespace quorvex::ctl {

namespace {

// The data folder as the agent would see it: absolute, without a trailing
// separator.
std::string absoluteDirectory(const std::string& dir)
{
    std::string path = std::filesystem::absolute(dir).lexically_normal().string();
    while (!path.empty() && path.back() == kPathSeparator)
        path.pop_back();
    return path;
}

} // namespace

std::optional<CommonOptions> parseCommonOptions(std::span<char* const> args)
{
    CommonOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        if (std::string_view(args[i]) != "--app-dir" || i + 1 == args.size() || !*args[i + 1])
            return std::nullopt;
        options.appDir = args[++i];
    }
    return options;
}

bool installEnvironment(const CommonOptions& options)
{
    static ConsoleDesktop console;
    setDesktop(&console);
    if (options.appDir.empty())
        return setUpFolders("quorvexctl");
    // The zip stand-in and the probe file still come from beside this program.
    AppInfo info;
    info.directory = runningProgramDirectory();
    info.dataDirectory = absoluteDirectory(options.appDir);
    setApp(std::move(info));
    return true;
}

int usage()
{
    std::cerr << "usage: quorvexctl list [--due] [--app-dir DIR]\n"
                 "       quorvexctl run NAME... [--app-dir DIR]\n"
                 "       quorvexctl due [--app-dir DIR]\n"
                 "       quorvexctl paths [--app-dir DIR]\n";
    return kUsageStatus;
}

} // namespace quorvex::ctl

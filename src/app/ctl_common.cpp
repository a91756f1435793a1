#include "ctl_common.hpp"

#include "platform/paths.hpp"
#include "support/app_info.hpp"
#include "support/desktop.hpp"

#include <filesystem>
#include <iostream>
#include <string_view>

namespace quorvex::ctl {

namespace {

// The application directory as the agent would see it: absolute, without a trailing
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

void installEnvironment(const CommonOptions& options)
{
    static ConsoleDesktop console;
    setDesktop(&console);
    AppInfo info;
    info.directory =
        options.appDir.empty() ? runningProgramDirectory() : absoluteDirectory(options.appDir);
    // The agent's program name, so one set of logs tells everything that happened here.
    info.programName = "quorvex";
    setApp(std::move(info));
}

int usage()
{
    std::cerr << "usage: quorvexctl list [--app-dir DIR]\n"
                 "       quorvexctl run NAME... [--app-dir DIR]\n";
    return kUsageStatus;
}

} // namespace quorvex::ctl

#include "ctl_common.hpp"
#include "ctl_due.hpp"
#include "ctl_list.hpp"
#include "ctl_run.hpp"

#include <span>
#include <string_view>

int main(int argc, char* argv[])
{
    using namespace quorvex::ctl;
    const std::span<char* const> args(argv, static_cast<size_t>(argc));
    if (args.size() >= 2 && std::string_view(args[1]) == "list")
        return listCommand(args.subspan(2));
    if (args.size() >= 2 && std::string_view(args[1]) == "run")
        return runCommand(args.subspan(2));
    if (args.size() >= 2 && std::string_view(args[1]) == "due")
        return dueCommand(args.subspan(2));
    if (args.size() >= 2 && std::string_view(args[1]) == "paths")
        return pathsCommand(args.subspan(2));
    return usage();
}

#include "run_quorvexctl.hpp"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace quorvex::test {

CtlOutcome runQuorvexctl(const std::vector<std::string>& args,
                         const std::filesystem::path& scratchDir)
{
    const auto quoted = [](const std::string& text) { return "'" + text + "'"; };
    std::string command = quoted(QUORVEXCTL_PATH);
    for (const auto& arg : args)
        command += " " + quoted(arg);
    const auto out = scratchDir / "out.txt";
    const auto err = scratchDir / "err.txt";
    const int status = std::system((command + " >" + quoted(out) + " 2>" + quoted(err)).c_str());
    const auto read = [](const std::filesystem::path& file) {
        std::ostringstream text;
        text << std::ifstream(file, std::ios::binary).rdbuf();
        return text.str();
    };
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read(out), read(err)};
}

} // namespace quorvex::test

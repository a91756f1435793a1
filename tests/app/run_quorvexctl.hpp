#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace quorvex::test {

struct CtlOutcome {
    int status = -1; // -1 when the program did not end by itself
    std::string out;
    std::string err;
};

// Runs quorvexctl as a user would, with the real clock, in workDir when one is given. What it
// prints goes through out.txt and err.txt in scratchDir. No argument may hold a quote.
inline CtlOutcome runQuorvexctl(const std::vector<std::string>& args,
                                const std::filesystem::path& scratchDir,
                                const std::string& workDir = {})
{
    const auto quoted = [](const std::string& text) { return "'" + text + "'"; };
    std::string command = workDir.empty() ? "" : "cd " + quoted(workDir) + " && ";
    command += quoted(QUORVEXCTL_PATH);
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

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
    int status;
    std::string out;
};

// Runs quorvexctl as a user would, with the real clock; what it prints on standard output goes
// through out.txt in scratchDir. No argument may hold a quote.
inline CtlOutcome runQuorvexctl(const std::vector<std::string>& args,
                                const std::filesystem::path& scratchDir)
{
    std::string command = "'" QUORVEXCTL_PATH "'";
    for (const std::string& arg : args)
        command += " '" + arg + "'";
    const std::string out = (scratchDir / "out.txt").string();
    const int status = std::system((command + " >'" + out + "'").c_str());
    std::ostringstream text;
    text << std::ifstream(out, std::ios::binary).rdbuf();
    return {WEXITSTATUS(status), text.str()};
}

} // namespace quorvex::test

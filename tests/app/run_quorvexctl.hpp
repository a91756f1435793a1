#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quorvex::test {

struct CtlOutcome {
    int status = -1; // -1 when the program did not end by itself
    std::string out;
    std::string err;
};

// Runs quorvexctl as a user would, with the real clock. What it prints goes through out.txt
// and err.txt in scratchDir. No argument may hold a quote.
CtlOutcome runQuorvexctl(const std::vector<std::string>& args,
                         const std::filesystem::path& scratchDir);

} // namespace quorvex::test

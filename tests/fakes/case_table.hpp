#pragma once

#include "fakes/text_lines.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace quorvex::test {

using CaseFields = std::vector<std::string>;

// The cases of a table kept as a text file (every test program finds its folder's tables under
// QUORVEX_TEST_DATA_DIR, tests/data/<folder>): one case a line, its fields apart by " | ", each
// field without its outer blanks; blank lines and lines that begin with '#' are the table's own
// notes. A missing or empty table fails the test that reads it.
inline std::vector<CaseFields> readCaseTable(const std::filesystem::path& file)
{
    const auto withoutOuterBlanks = [](const std::string& text) {
        const auto first = text.find_first_not_of(" \t");
        return first == std::string::npos
                   ? ""
                   : text.substr(first, text.find_last_not_of(" \t") - first + 1);
    };
    std::ostringstream content;
    content << std::ifstream(file, std::ios::binary).rdbuf();
    std::vector<CaseFields> cases;
    for (const std::string& line : linesOf(content.str())) {
        if (withoutOuterBlanks(line).empty() || line.front() == '#')
            continue;
        CaseFields& fields = cases.emplace_back();
        for (std::size_t start = 0, bar = 0; bar != std::string::npos; start = bar + 3) {
            bar = line.find(" | ", start);
            fields.push_back(withoutOuterBlanks(line.substr(start, bar - start)));
        }
    }
    EXPECT_FALSE(cases.empty()) << "no cases in " << file;
    return cases;
}

} // namespace quorvex::test

#include "fakes/case_table.hpp"

#include "fakes/text_lines.hpp"

#include <gtest/gtest.h>

#include <fstream>

namespace quorvex::test {
namespace {

std::string withoutOuterBlanks(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    return first == std::string::npos
               ? ""
               : text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

std::vector<CaseFields> readCaseTable(const std::filesystem::path& file)
{
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

#include "fakes/case_table.hpp"

#include "fakes/text_lines.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace quorvex::test {
namespace {

std::string withoutOuterBlanks(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    return first == std::string::npos
               ? ""
               : text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

CaseFields fieldsOf(const std::string& line)
{
    CaseFields fields;
    std::size_t start = 0;
    for (auto bar = line.find(" | "); bar != std::string::npos; bar = line.find(" | ", start)) {
        fields.push_back(withoutOuterBlanks(line.substr(start, bar - start)));
        start = bar + 3;
    }
    fields.push_back(withoutOuterBlanks(line.substr(start)));
    return fields;
}

} // namespace

std::vector<CaseFields> readCaseTable(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    std::vector<CaseFields> cases;
    for (const std::string& line : linesOf(content.str()))
        if (!withoutOuterBlanks(line).empty() && line.front() != '#')
            cases.push_back(fieldsOf(line));
    EXPECT_FALSE(cases.empty()) << "no cases in " << file;
    return cases;
}

} // namespace quorvex::test

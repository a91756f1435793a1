#include "fakes/text_lines.hpp"

#include "support/computer_name.hpp"

#include <sstream>

namespace quorvex::test {

std::vector<std::string> linesOf(const std::string& content)
{
    std::vector<std::string> lines;
    std::istringstream in(content);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> fatalErrorEntry(const std::string& dateText,
                                         const std::string& description,
                                         const std::string& moduleFunction)
{
    return {
        std::string(80, '-'),
        "Date:        " + dateText,
        "Computer:    " + GetComputerNameA(),
        "Severity:    Fatal",
        "Description: " + description,
        "Last DLL:     0 ",
        "Details:     " + description,
        std::string(40, '-'),
        "Module/Function: " + moduleFunction,
        "",
        "",
    };
}

} // namespace quorvex::test

#pragma once

#include <sstream>
#include <string>
#include <vector>

namespace quorvex::test {

// The lines of a text, whatever its line ends (LF or CR LF).
inline std::vector<std::string> linesOf(const std::string& content)
{
    std::vector<std::string> lines;
    std::istringstream in(content);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.ends_with('\r') ? line.substr(0, line.size() - 1) : line);
    return lines;
}

} // namespace quorvex::test

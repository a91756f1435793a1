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
    for (std::string line; std::getline(in, line);) {
        if (line.ends_with('\r'))
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

} // namespace quorvex::test

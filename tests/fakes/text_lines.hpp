#pragma once

#include <string>
#include <vector>

namespace quorvex::test {

// The lines of a text, whatever its line ends (LF or CR LF).
std::vector<std::string> linesOf(const std::string& content);

} // namespace quorvex::test

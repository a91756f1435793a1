#pragma once

#include <string>
#include <vector>

namespace quorvex::test {

// The lines of a text, whatever its line ends (LF or CR LF).
std::vector<std::string> linesOf(const std::string& content);

// The lines of one fatal entry of the error log, as read by linesOf: the header with the
// date text given, the error and where it was trapped, and the blank lines that close it.
std::vector<std::string> fatalErrorEntry(const std::string& dateText,
                                         const std::string& description,
                                         const std::string& moduleFunction);

} // namespace quorvex::test

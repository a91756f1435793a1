#pragma once

#include <initializer_list>
#include <string>

namespace quorvex {

// Appends lines, each ended by CR LF, to a file (created when missing), opened and closed
// within the call. A failure to open or write is the classic run-time error for it.
void appendCrLfLines(const std::string& path, std::initializer_list<std::string> lines);

} // namespace quorvex

#pragma once

#include <cstdint>
#include <string>

namespace quorvex {

// Starts the command line (split by the Windows rules, never through a shell) with a window
// style 0 to 6, waits for the program's end while pending window events keep running, and asks
// its window to close once the window's title begins with "FINISHED". Returns the exit code, or
// for a start that failed err::ObjectErrorBase plus the run-time error number (53 when the
// program file does not exist, 70 when it cannot be executed).
int32_t ShellAndClose(const std::string& commandLine, int windowStyle = 6);

} // namespace quorvex

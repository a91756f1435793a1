#pragma once

#include <cstdint>
#include <string>

namespace quorvex {

// Result base of a start that failed: the run-time error number is added to it
// (53 when the program file does not exist, 70 when it cannot be executed).
inline constexpr int32_t kShellStartFailed = -2147221504;

// Starts the command line (split by the Windows rules, never through a shell) with a window
// style 0 to 6, waits for the program's end while pending window events keep running, and asks
// its window to close once the window's title begins with "FINISHED". Returns the exit code.
int32_t ShellAndClose(const std::string& commandLine, int windowStyle = 6);

} // namespace quorvex

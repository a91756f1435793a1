#pragma once

#include <string>

namespace quorvex {

// Starts a command line (built as the program's texts build it, split by the Windows rules)
// without waiting for the program and without keeping it as a child. Returns the started
// program's process identifier, 0 when it could not be started.
long long startCommandLine(const std::string& commandLine);

} // namespace quorvex

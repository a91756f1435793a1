#pragma once

#include <string>

namespace quorvex {

// The full path of the program file this process runs; empty when the system cannot say.
std::string runningProgramFile();

} // namespace quorvex

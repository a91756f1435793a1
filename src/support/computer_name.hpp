#pragma once

#include <string>

namespace quorvex {

// The computer's name, or "" when it cannot be read.
std::string GetComputerNameA();

} // namespace quorvex

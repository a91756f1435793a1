#pragma once

#include <string>

namespace quorvex {

// The name of this computer on the network, or "" when it cannot be read.
std::string computerName();

} // namespace quorvex

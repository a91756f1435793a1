#include "support/computer_name.hpp"

#include "platform/computer_name.hpp"
#include "support/error_handler.hpp"

namespace quorvex {

std::string GetComputerNameA()
{
    return trapFatal("libAPIWrapper.bas", "GetComputerNameA()", [] { return computerName(); });
}

} // namespace quorvex

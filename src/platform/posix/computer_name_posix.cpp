#include "platform/computer_name.hpp"

#include <climits>
#include <unistd.h>

namespace quorvex {

std::string computerName()
{
    char buffer[HOST_NAME_MAX + 1] = {};
    // gethostname may leave a truncated name without its terminator; the last byte stays 0.
    if (::gethostname(buffer, sizeof buffer - 1) != 0)
        return {};
    return buffer;
}

} // namespace quorvex

#include "platform/computer_name.hpp"

#include <windows.h>

namespace quorvex {

std::string computerName()
{
    char buffer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof buffer;
    if (!GetComputerNameA(buffer, &size))
        return {};
    return std::string(buffer, size);
}

} // namespace quorvex

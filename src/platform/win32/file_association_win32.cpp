#include "platform/file_association.hpp"

#include <windows.h>

#include <shellapi.h>

namespace quorvex {

std::optional<std::string> associatedProgram(const std::string& documentPath)
{
    char program[MAX_PATH + 1] = {};
    // Values above 32 mean success; anything else says why there is none (no such file, no
    // association, the program is gone).
    const auto result = reinterpret_cast<INT_PTR>(
        FindExecutableA(documentPath.c_str(), nullptr, program));
    if (result <= 32 || program[0] == '\0')
        return std::nullopt;
    return std::string(program);
}

} // namespace quorvex

#include "platform/file_association.hpp"

#include <windows.h>

#include <shellapi.h>
#include <shlwapi.h>

namespace quorvex {

std::optional<std::string> associatedProgram(const std::string& documentPath)
{
    char program[MAX_PATH + 1] = {};
    // Values above 32 mean success; anything else says why there is none (no such file, no
    // association, the program is gone).
    const auto result =
        reinterpret_cast<INT_PTR>(FindExecutableA(documentPath.c_str(), nullptr, program));
    if (result <= 32 || program[0] == '\0')
        return std::nullopt;
    return std::string(program);
}

std::optional<std::string> webBrowserProgram()
{
    // The program of the "http" protocol's open command, as the shell starts it for a link.
    char program[MAX_PATH + 1] = {};
    DWORD size = sizeof program;
    if (AssocQueryStringA(ASSOCF_NOTRUNCATE, ASSOCSTR_EXECUTABLE, "http", "open", program, &size) !=
            S_OK ||
        program[0] == '\0')
        return std::nullopt;
    return std::string(program);
}

} // namespace quorvex

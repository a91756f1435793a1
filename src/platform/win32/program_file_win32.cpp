#include "platform/program_file.hpp"

#include <windows.h>

#include <vector>

namespace quorvex {

std::string runningProgramFile()
{
    // The name is cut to the buffer when it is too long, so the buffer grows until it fits.
    for (DWORD size = MAX_PATH;; size *= 2) {
        std::vector<char> name(size);
        const DWORD length = GetModuleFileNameA(nullptr, name.data(), size);
        if (length == 0)
            return {};
        if (length < size)
            return std::string(name.data(), length);
    }
}

} // namespace quorvex

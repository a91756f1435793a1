#include "platform/file_attributes.hpp"

#include "platform/win32/win32_error.hpp"

namespace quorvex {

// The classic numbering is the system's own; only these bits mean anything to the program.
static_assert(attr::ReadOnly == FILE_ATTRIBUTE_READONLY && attr::Hidden == FILE_ATTRIBUTE_HIDDEN &&
              attr::System == FILE_ATTRIBUTE_SYSTEM && attr::Directory == FILE_ATTRIBUTE_DIRECTORY);

int fileAttributes(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        throwLastWin32Error();
    return static_cast<int>(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                          FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY));
}

void clearFileAttributes(const std::string& path)
{
    if (!SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL))
        throwLastWin32Error();
}

bool isDriveRoot(const std::string& path)
{
    const auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (path.size() < 2 || path.size() > 3 || !isLetter(path[0]) || path[1] != ':')
        return false;
    return path.size() == 2 || path[2] == '\\' || path[2] == '/';
}

} // namespace quorvex

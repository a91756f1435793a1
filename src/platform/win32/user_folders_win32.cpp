#include "platform/user_folders.hpp"

#include "platform/win32/win32_error.hpp"

#include <cstdlib>

namespace quorvex {

// A folder is writable when a file can be made in it: Windows grants through access control
// lists that no attribute shows.
bool folderWritable(const std::string& folder)
{
    char name[MAX_PATH];
    if (GetTempFileNameA(folder.c_str(), "qvx", 0, name) == 0)
        return false;
    DeleteFileA(name);
    return true;
}

// The user's roaming application data, where programs keep what their user makes.
std::string userDataHome()
{
    if (const char* appData = std::getenv("APPDATA"); appData != nullptr && *appData != '\0')
        return appData;
    if (const char* profile = std::getenv("USERPROFILE"); profile != nullptr && *profile != '\0')
        return std::string(profile) + "\\AppData\\Roaming";
    return ".";
}

// The user's profile folders are the user's own already; nothing is added to their rights.
void createPrivateFolder(const std::string& folder)
{
    for (size_t cut = folder.find_first_of("\\/", 3);; cut = folder.find_first_of("\\/", cut + 1)) {
        const std::string part = folder.substr(0, cut);
        if (!CreateDirectoryA(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            throwLastWin32Error();
        if (cut == std::string::npos)
            break;
    }
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        throwLastWin32Error();
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        throw RuntimeError::fromErrno(ENOTDIR);
}

} // namespace quorvex

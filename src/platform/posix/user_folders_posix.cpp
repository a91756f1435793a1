#include "platform/user_folders.hpp"

#include "support/error.hpp"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvex {

bool folderWritable(const std::string& folder)
{
    // The effective ids decide, as they do when the file is created.
    return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

std::string userDataHome()
{
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    // The base directory specification ignores a relative value.
    if (dataHome != nullptr && dataHome[0] == '/')
        return dataHome;
    std::string home;
    if (const char* value = std::getenv("HOME"); value != nullptr && *value != '\0') {
        home = value;
    } else if (const passwd* user = ::getpwuid(::geteuid()); user != nullptr) {
        home = user->pw_dir;
    }
    return home + "/.local/share";
}

void createPrivateFolder(const std::string& folder)
{
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (!part.empty() && ::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            throwLastOsError();
        if (slash == std::string::npos)
            break;
    }
    struct stat status {};
    if (::stat(folder.c_str(), &status) != 0)
        throwLastOsError();
    if (!S_ISDIR(status.st_mode))
        throw RuntimeError::fromErrno(ENOTDIR);
}

} // namespace quorvex

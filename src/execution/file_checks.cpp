#include "execution/file_checks.hpp"

#include "support/error.hpp"
#include "support/files.hpp"

#include <cerrno>
#include <optional>
#include <sys/stat.h>

namespace quorvex {

namespace {

std::optional<struct stat> statOf(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0)
        return info;
    if (errno == ENOENT || errno == ENOTDIR)
        return std::nullopt;
    throwLastOsError();
}

bool isHiddenName(const std::string& path)
{
    const auto slash = path.rfind(kPathSeparator);
    const auto nameStart = slash == std::string::npos ? 0 : slash + 1;
    return nameStart < path.size() && path[nameStart] == '.';
}

} // namespace

bool fileExists(const std::string& path)
{
    const auto info = statOf(path);
    return info && S_ISREG(info->st_mode);
}

bool plainFileExists(const std::string& path)
{
    return !isHiddenName(path) && fileExists(path);
}

bool directoryExists(const std::string& path)
{
    const auto info = statOf(path);
    return info && S_ISDIR(info->st_mode);
}

bool sameDirectory(const std::string& a, const std::string& b)
{
    if (a == b)
        return true;
    const auto first = statOf(a);
    const auto second = statOf(b);
    return first && second && first->st_dev == second->st_dev && first->st_ino == second->st_ino;
}

} // namespace quorvex

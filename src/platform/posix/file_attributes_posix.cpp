#include "platform/file_attributes.hpp"

#include "support/error.hpp"

#include <sys/stat.h>

namespace quorvex {

namespace {

// The entry itself, a link not followed; a missing one is the classic error.
struct stat lstatOrThrow(const std::string& path)
{
    struct stat info = {};
    if (::lstat(path.c_str(), &info) != 0)
        throwLastOsError();
    return info;
}

bool startsWithDot(const std::string& path)
{
    const size_t nameStart = path.find_last_of('/') + 1; // npos + 1 is 0
    return nameStart < path.size() && path[nameStart] == '.';
}

} // namespace

int fileAttributes(const std::string& path)
{
    struct stat info = lstatOrThrow(path);
    // A link stands for what it points at, as a shortcut to a folder lists as a folder; a
    // dangling one is a plain file.
    struct stat target = {};
    if (S_ISLNK(info.st_mode) && ::stat(path.c_str(), &target) == 0)
        info = target;
    int attributes = attr::Normal;
    if ((info.st_mode & S_IWUSR) == 0)
        attributes |= attr::ReadOnly;
    if (startsWithDot(path))
        attributes |= attr::Hidden;
    if (S_ISDIR(info.st_mode))
        attributes |= attr::Directory;
    return attributes;
}

void clearFileAttributes(const std::string& path)
{
    const struct stat info = lstatOrThrow(path);
    if (S_ISLNK(info.st_mode) || (info.st_mode & S_IWUSR) != 0)
        return;
    if (::chmod(path.c_str(), (info.st_mode & 07777) | S_IWUSR) != 0)
        throwLastOsError();
}

bool isDriveRoot(const std::string&)
{
    return false;
}

} // namespace quorvex

#include "execution/file_checks.hpp"

#include "support/error.hpp"
#include "support/files.hpp"

#include "platform/file_system.hpp"

namespace quorvex {

namespace {

bool isHiddenName(const std::string& path)
{
    const auto slash = path.rfind(kPathSeparator);
    const auto nameStart = slash == std::string::npos ? 0 : slash + 1;
    return nameStart < path.size() && path[nameStart] == '.';
}

} // namespace

bool fileExists(const std::string& path)
{
    return entryKind(path) == EntryKind::File;
}

bool plainFileExists(const std::string& path)
{
    return !isHiddenName(path) && fileExists(path);
}

bool directoryExists(const std::string& path)
{
    return entryKind(path) == EntryKind::Directory;
}

bool sameDirectory(const std::string& a, const std::string& b)
{
    if (a == b)
        return true;
    return sameEntry(a, b);
}

} // namespace quorvex

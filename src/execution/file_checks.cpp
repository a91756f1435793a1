#include "execution/file_checks.hpp"

#include "platform/file_attributes.hpp"
#include "platform/file_system.hpp"

namespace quorvex {

bool fileExists(const std::string& path)
{
    return entryKind(path) == EntryKind::File;
}

bool plainFileExists(const std::string& path)
{
    return fileExists(path) && shownInPlainListing(fileAttributes(path));
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

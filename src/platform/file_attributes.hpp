#pragma once

#include <string>

namespace quorvex {

// File attributes in their classic numbering. Here a name that starts with "." is hidden,
// nothing is a system file, and an entry whose owner may not write it is read-only.
namespace attr {
inline constexpr int Normal = 0;
inline constexpr int ReadOnly = 1;
inline constexpr int Hidden = 2;
inline constexpr int System = 4;
inline constexpr int Directory = 16;
} // namespace attr

// The attributes of an entry. A missing entry is the classic error for its errno.
int fileAttributes(const std::string& path);

// Whether a plain directory listing shows an entry of these attributes: it leaves out hidden
// and system entries.
inline bool shownInPlainListing(int attributes)
{
    return (attributes & (attr::Hidden | attr::System)) == 0;
}

// Makes an entry normal: the owner gets write permission back. The hidden attribute is the
// name's leading dot, so it stays; a symbolic link is left alone, since it has no permissions
// of its own and its target is not ours to change. A missing entry is the classic error.
void clearFileAttributes(const std::string& path);

// Whether a path is a drive's root folder ("A:\\"), which may be a drive without its
// diskette: such a backup target is not tested for existence. Only Windows has drive roots.
bool isDriveRoot(const std::string& path);

} // namespace quorvex

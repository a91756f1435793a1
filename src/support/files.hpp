#pragma once

#include "platform/paths.hpp" // kPathSeparator

#include <cstdint>
#include <string>

namespace quorvex {

// Deletes every file matching path ("*" and "?" allowed in the last element), whatever its
// attributes, and waits until the listing shows them gone. Returns 0.
int16_t uKill(const std::string& path);
// uKill without its fatal trap: a file that cannot be deleted is the classic run-time error,
// for callers that end only their own run over it.
void deleteMatchingFiles(const std::string& path);
// Creates the directory (one level) unless an entry of that name exists, and waits until it
// does. Returns 0.
int16_t uMkDir(std::string path);
// Adds a trailing separator (add) or removes one (not add).
void FormatPath(std::string& path, bool addSeparator);
// Everything up to and including the last separator; error -2147221503 when there is none.
std::string FilePathStripFileName(const std::string& path);
// Everything after the last separator; error -2147221503 when there is none.
std::string FilePathStripPath(const std::string& path);
// Whether anything but a folder has that name: a file of any attributes, or a dangling link,
// which uKill removes too.
bool isNonFolderEntry(const std::string& path);
// Full path of the program associated with the document, or "" when there is none.
std::string FindExecutable(const std::string& documentPath);

} // namespace quorvex

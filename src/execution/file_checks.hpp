#pragma once

#include <string>

namespace quorvex {

// Existence tests of the job actions. A missing entry (or a missing directory on the way) is
// simply "no"; any other failure of the look-up (a name too long, no permission) is the
// classic run-time error for it, so the caller's error handling sees it.

// A file of any kind of name, hidden ones included (symbolic links followed).
bool fileExists(const std::string& path);
// A file a plain directory listing shows: hidden and system files do not count (on Linux,
// names starting with "." are the hidden ones).
bool plainFileExists(const std::string& path);
bool directoryExists(const std::string& path);

// Whether two directory paths name the same directory: the same text, or, when both exist,
// the same directory on disk (another spelling, a link, "..").
bool sameDirectory(const std::string& a, const std::string& b);

} // namespace quorvex

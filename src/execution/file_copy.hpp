#pragma once

#include "platform/file_system.hpp" // renameNoReplace, renameReplacing

#include <cstdint>
#include <functional>
#include <string>

namespace quorvex {

class ContentHash;

// Copies a file's content, permissions and modification time into a new file of that name,
// which must not exist yet, and flushes it to disk before returning: a copy that returns is
// complete on disk. Failures are the classic run-time errors; the new file is removed on
// failure, so nothing half-written is left behind by a failure we live through.
// With written, the copy goes through the program block by block and written ends as the
// checksum of what it wrote, so the source is read only once for a later check of the copy.
void copyFileToNew(const std::string& source, const std::string& destination,
                   ContentHash* written = nullptr);

// Fault injection for tests: called with the bytes written so far after every block a copy
// writes. It may throw (a disk that fills up) or never return (a process killed in the middle
// of a copy). An empty hook removes it.
using CopyProgressHook = std::function<void(uint64_t bytesWritten)>;
void setCopyProgressHook(CopyProgressHook hook);

} // namespace quorvex

#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace quorvex {

// Copies a file's content, permissions and modification time into a new file of that name,
// which must not exist yet, and flushes it to disk before returning: a copy that returns is
// complete on disk. Failures are the classic run-time errors; the new file is removed on
// failure, so nothing half-written is left behind by a failure we live through.
void copyFileToNew(const std::string& source, const std::string& destination);

// Renames a file; fails with run-time error 58 (File already exists) when the new name is
// taken, instead of silently replacing what is there.
void renameNoReplace(const std::string& from, const std::string& to);

// Renames a file over whatever file has the new name, in one step: the name always holds
// either the old file or the new one. The folder is flushed, so the new name survives a
// power cut.
void renameReplacing(const std::string& from, const std::string& to);

// Fault injection for tests: called with the bytes written so far after every block a copy
// writes. It may throw (a disk that fills up) or never return (a process killed in the middle
// of a copy). An empty hook removes it.
using CopyProgressHook = std::function<void(uint64_t bytesWritten)>;
void setCopyProgressHook(CopyProgressHook hook);

} // namespace quorvex

#pragma once

#include <string>

namespace quorvex {

// Copies a file's content, permissions and modification time into a temporary file beside the
// destination, flushes it to disk and only then renames it over the destination: an
// interrupted or failed copy never leaves a truncated file under the destination's name.
// Failures are the classic run-time errors; the temporary file is removed on failure.
void copyFileReplacing(const std::string& source, const std::string& destination);

// Renames a file; fails with run-time error 58 (File already exists) when the new name is
// taken, instead of silently replacing what is there.
void renameNoReplace(const std::string& from, const std::string& to);

} // namespace quorvex

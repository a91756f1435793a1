#pragma once

#include <optional>
#include <string>

namespace quorvex {

// The full path of the program the desktop opens the document with, as its association
// service says: nothing when the document does not exist, no program is associated, or the
// associated program cannot be found.
std::optional<std::string> associatedProgram(const std::string& documentPath);

// The full path of the program that opens web addresses in the user's browser: the desktop's
// opener of addresses, or the program registered for http addresses. Nothing when there is none.
std::optional<std::string> webBrowserProgram();

} // namespace quorvex

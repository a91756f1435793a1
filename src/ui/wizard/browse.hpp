#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvex {

// The attributes of an entry (attr::Hidden, attr::Directory...), nothing when there is none
// or it cannot be looked up. A name too long for the file system is run-time error 52.
std::optional<int> lookUpEntry(const std::string& path);

// A plain file: no folder, not hidden.
bool isPlainFile(const std::string& path);

// Asks for an existing file of the type (extension ".mdb", description "Microsoft Access
// Database") until one is chosen or the user cancels; sFileName is then the file's full path,
// or "" after a cancel. The dialog proposes sFileName and opens in its folder. Failures are
// reported under the module of the window that asked.
void BrowseFile(std::string& sFileName, const std::string& extension,
                const std::string& description,
                std::string_view module = "frmWIZ_JobDefinition.frm");

// Asks for an existing folder until one is chosen or the user cancels; sPath is then the
// folder with a final separator, or after a cancel what it was with one ("/" when empty).
void BrowseFolder(std::string& sPath);

} // namespace quorvex

#pragma once

#include <string>

namespace quorvex {

// Opens a text file in the desktop's viewer, as "Notepad.exe <file>" does on Windows: the file
// goes to xdg-open as one argument, started detached, so blanks in the path are harmless and
// the agent does not wait for the viewer. True when the viewer started.
bool openInNotepad(const std::string& file);

} // namespace quorvex

#pragma once

#include <string>

namespace quorvex {

// Opens a text file in the desktop's viewer, as "Notepad.exe <file>" does on Windows: the file
// goes to xdg-open as one argument, so blanks in the path are harmless, and the agent does not
// wait for the viewer. A log that does not exist yet is created empty first, so the viewer
// shows an empty log rather than an error. True when the opener started; a start that fails,
// or an opener that ends with an error, is told in a box naming the file and the reason.
bool openInNotepad(const std::string& file);

} // namespace quorvex

#pragma once

#include <string>

namespace quorvex {

// True when this process may create and replace files in the folder (an existing folder,
// writable and searchable for the effective user).
bool folderWritable(const std::string& folder);

// The user's data home: $XDG_DATA_HOME when it is an absolute path, otherwise
// $HOME/.local/share, with the home folder from the user database when HOME is not set.
std::string userDataHome();

// Creates the folder and any missing parents; every folder created is open to its owner only
// (0700), as the data of one user is nobody else's business. An existing folder is left as it
// is. A failure is the classic error for its errno.
void createPrivateFolder(const std::string& folder);

} // namespace quorvex

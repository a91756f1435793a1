#pragma once

#include <string>

namespace quorvex {

// An exclusive lock on a file, held for the life of the object, so a second copy of the
// program can tell that a first one runs. Taking it never blocks. The lock belongs to the
// open file, so it ends with the process however the process ends, and programs started
// meanwhile do not inherit it.
class SingleInstance {
public:
    // Creates the lock file in the directory when missing and tries to lock it. A lock file
    // that cannot be opened or locked for any reason but another holder is the classic error
    // for its errno.
    SingleInstance(const std::string& directory, const std::string& fileName);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when someone else held the lock, so this object does not.
    bool anotherInstanceRuns() const { return m_fd < 0; }

private:
    int m_fd = -1;
};

} // namespace quorvex

#pragma once

#include <string>

namespace quorvex {

// An exclusive lock on a lock file, so that two processes never work on the same thing at
// once. The kernel releases it when the process ends, however it ends; programs started
// meanwhile do not inherit it. The lock file is removed when the lock is released, so it
// stays behind only after a process was killed, and the next holder removes it then.
class ExclusiveFileLock {
public:
    explicit ExclusiveFileLock(std::string path);
    ~ExclusiveFileLock();
    ExclusiveFileLock(const ExclusiveFileLock&) = delete;
    ExclusiveFileLock& operator=(const ExclusiveFileLock&) = delete;

    // Takes the lock when nobody holds it; never blocks. False while someone else holds it.
    // A lock file that cannot be made or opened is the classic error for its errno.
    bool tryLock();
    bool held() const { return m_fd >= 0; }
    void release();

private:
    // The system's part: the locked file's descriptor, or -1 while someone else holds it;
    // and letting go of it, the file removed.
    static int openLocked(const std::string& path);
    static void closeLocked(const std::string& path, int fd);

    std::string m_path;
    int m_fd = -1;
};

} // namespace quorvex

#include "platform/file_lock.hpp"

#include "platform/win32/win32_error.hpp"

#include <fcntl.h>
#include <io.h>

namespace quorvex {

int ExclusiveFileLock::openLocked(const std::string& path)
{
    // No sharing makes the open itself the lock; the system deletes the file when the last
    // handle closes, so nothing stays behind even when the holder is killed.
    const HANDLE file =
        CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_SHARING_VIOLATION)
            return -1;
        // A lock file that its holder is letting go of refuses opens with "access denied"
        // until it is gone; a folder we may not write has no such file to show.
        if (error == ERROR_ACCESS_DENIED &&
            GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
            return -1;
        throw RuntimeError::fromErrno(errnoForWin32Error(error));
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDWR);
    if (fd < 0) {
        CloseHandle(file);
        throwLastOsError();
    }
    return fd;
}

// Closing the last handle deletes the file.
void ExclusiveFileLock::closeLocked(const std::string&, int fd)
{
    _close(fd);
}

} // namespace quorvex

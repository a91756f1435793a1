#include "platform/file_lock.hpp"

#include "platform/win32/win32_error.hpp"

#include <fcntl.h>
#include <io.h>

namespace quorvex {

ExclusiveFileLock::ExclusiveFileLock(std::string path) : m_path(std::move(path)) {}

ExclusiveFileLock::~ExclusiveFileLock()
{
    release();
}

bool ExclusiveFileLock::tryLock()
{
    if (held())
        return true;
    // No sharing makes the open itself the lock; the system deletes the file when the last
    // handle closes, so nothing stays behind even when the holder is killed.
    const HANDLE file =
        CreateFileA(m_path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_SHARING_VIOLATION)
            return false;
        // A lock file that its holder is letting go of refuses opens with "access denied"
        // until it is gone; a folder we may not write has no such file to show.
        if (error == ERROR_ACCESS_DENIED && GetFileAttributesA(m_path.c_str()) != INVALID_FILE_ATTRIBUTES)
            return false;
        throw RuntimeError::fromErrno(errnoForWin32Error(error));
    }
    m_fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDWR);
    if (m_fd < 0) {
        CloseHandle(file);
        throwLastOsError();
    }
    return true;
}

void ExclusiveFileLock::release()
{
    if (!held())
        return;
    _close(m_fd);
    m_fd = -1;
}

} // namespace quorvex

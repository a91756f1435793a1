#include "platform/single_instance.hpp"

#include "platform/win32/win32_error.hpp"

#include <fcntl.h>
#include <io.h>

namespace quorvex {

SingleInstance::SingleInstance(const std::string& directory, const std::string& fileName)
{
    const std::string path = directory + "\\" + fileName;
    // A file rather than a named mutex: it belongs to the folder however the folder is spelled
    // (a short name, another case, a mapped drive or its UNC path) and holds across sessions (a
    // scheduled quorvexctl runs in another) and across computers sharing the folder, which a
    // mutex's name cannot.
    // Opened without sharing, the file is locked for as long as it is open: a second open,
    // in this process or any other, fails with a sharing violation until the system closes
    // it, however the holder ends.
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        if (GetLastError() == ERROR_SHARING_VIOLATION)
            return;
        throwLastWin32Error();
    }
    // Handles are not inherited by programs we start unless asked for.
    m_fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDWR);
    if (m_fd < 0) {
        CloseHandle(file);
        throwLastOsError();
    }
}

SingleInstance::~SingleInstance()
{
    if (m_fd >= 0)
        _close(m_fd);
}

} // namespace quorvex

#include "platform/process.hpp"

#include "platform/win32/win32_error.hpp"

namespace quorvex {

namespace {

// Process handles fit in 32 bits on 64-bit Windows, which keeps them, so the handle is kept
// where other systems keep a descriptor.
HANDLE handleOf(int value)
{
    return LongToHandle(value);
}

// Why a start failed, in the numbers the callers log: a missing program file is 53, one that
// is there but cannot be run (no permission, a folder, not a program) is 70.
RuntimeError startError(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_DIRECTORY:
        return RuntimeError::fromNumber(err::FileNotFound);
    case ERROR_ACCESS_DENIED:
    case ERROR_BAD_EXE_FORMAT:
    case ERROR_EXE_MARKED_INVALID:
    case ERROR_EXE_MACHINE_TYPE_MISMATCH:
        return RuntimeError::fromNumber(err::PermissionDenied);
    default:
        return RuntimeError::fromErrno(errnoForWin32Error(error));
    }
}

} // namespace

Process::Process(const std::string& commandLine, int showState)
{
    // The command line goes to the system as it is: the program parses its own arguments.
    std::string line = commandLine;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showState);
    PROCESS_INFORMATION started{};
    // A hidden console program gets no console at all, so its output is shown nowhere, also
    // when it is started from one.
    const DWORD flags = showState == kHiddenWindow ? CREATE_NO_WINDOW : 0;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr,
                        &startup, &started))
        throw startError(GetLastError());
    CloseHandle(started.hThread);
    m_pid = static_cast<int>(started.dwProcessId);
    m_pidFd = HandleToLong(started.hProcess);
}

Process::~Process()
{
    if (m_pidFd != -1)
        CloseHandle(handleOf(m_pidFd));
}

std::optional<int32_t> Process::exitStatus()
{
    if (m_exitStatus)
        return m_exitStatus;
    // The exit code alone cannot tell a running program from one that ended with 259
    // (STILL_ACTIVE); the handle's state can.
    const DWORD state = WaitForSingleObject(handleOf(m_pidFd), 0);
    if (state == WAIT_TIMEOUT)
        return std::nullopt;
    if (state != WAIT_OBJECT_0)
        throwLastWin32Error();
    DWORD code = 0;
    if (!GetExitCodeProcess(handleOf(m_pidFd), &code))
        throwLastWin32Error();
    m_exitStatus = static_cast<int32_t>(code);
    return m_exitStatus;
}

void Process::waitForExit(int milliseconds)
{
    if (m_exitStatus)
        return;
    WaitForSingleObject(handleOf(m_pidFd), static_cast<DWORD>(milliseconds < 0 ? 0 : milliseconds));
}

} // namespace quorvex

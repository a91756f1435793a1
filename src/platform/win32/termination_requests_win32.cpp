#include "platform/termination_requests.hpp"

#include <windows.h>

#include <atomic>

namespace quorvex {

namespace {

std::atomic<void (*)()> g_handler{nullptr};

// The system calls this on a thread of its own. For the console's close, log-off and
// shut-down it ends the process once this returns; the handler has then asked for the Exit
// sequence and the system's grace period is what it gets.
BOOL WINAPI onControlEvent(DWORD event)
{
    const auto handler = g_handler.load();
    if (!handler)
        return FALSE;
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        handler();
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

void setTerminationHandler(void (*handler)())
{
    g_handler = handler;
    SetConsoleCtrlHandler(onControlEvent, TRUE);
}

void restoreDefaultTermination()
{
    SetConsoleCtrlHandler(onControlEvent, FALSE);
    g_handler = nullptr;
}

} // namespace quorvex

#include "platform/windows.hpp"

#include <windows.h>

#include <cstdint>

namespace quorvex {

// Every desktop has windows; there is nothing to connect to.
struct TopLevelWindows::Display {};

namespace {

// Window handles fit in 32 bits on 64-bit Windows, so that 32-bit programs can share them.
TopLevelWindows::Handle handleOf(HWND window)
{
    return static_cast<TopLevelWindows::Handle>(reinterpret_cast<uintptr_t>(window));
}

HWND windowOf(TopLevelWindows::Handle handle)
{
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(handle));
}

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK checkWindow(HWND window, LPARAM searchAddress)
{
    auto* search = reinterpret_cast<Search*>(searchAddress);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

} // namespace

TopLevelWindows::TopLevelWindows() : m_display(std::make_unique<Display>()) {}

TopLevelWindows::~TopLevelWindows() = default;

TopLevelWindows::Handle TopLevelWindows::findWindowOfProcess(int processId)
{
    Search search{static_cast<DWORD>(processId), nullptr};
    EnumWindows(checkWindow, reinterpret_cast<LPARAM>(&search));
    return search.found ? handleOf(search.found) : kNoWindow;
}

std::string TopLevelWindows::windowText(Handle window)
{
    char text[512] = {};
    const int length = GetWindowTextA(windowOf(window), text, sizeof text);
    return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

void TopLevelWindows::requestClose(Handle window)
{
    // What the close box sends; a window that is gone refuses it, which is fine.
    PostMessageA(windowOf(window), WM_CLOSE, 0, 0);
}

} // namespace quorvex

// The fake Access's window as a Win32 window, closed by WM_CLOSE as Access's close box does:
// a window of a system class, which the default handling destroys on that request.
#include "fake_access_window.hpp"

#include <windows.h>

#include <cstdio>

using Clock = std::chrono::steady_clock;

bool windowCloseRequested(const std::string& title, Clock::time_point deadline)
{
    const HWND window = CreateWindowA("STATIC", title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                      0, 320, 200, nullptr, nullptr, nullptr, nullptr);
    if (!window) {
        std::fprintf(stderr, "fake_access: no window\n");
        return false;
    }
    for (; IsWindow(window) && Clock::now() < deadline; Sleep(5))
        for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageA(&message);
    return !IsWindow(window);
}

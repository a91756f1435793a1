// The fake Access's window as a Win32 window, closed by WM_CLOSE as Access's close box does.
#include "fake_access_window.hpp"

#include <windows.h>

#include <algorithm>

namespace {

constexpr UINT_PTR kRetitle = 1;
constexpr UINT_PTR kGiveUp = 2;

std::string g_finalTitle;
bool g_closed = false;

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        KillTimer(window, wParam);
        if (wParam == kRetitle) {
            SetWindowTextA(window, g_finalTitle.c_str());
        } else {
            DestroyWindow(window);
        }
        return 0;
    case WM_CLOSE:
        g_closed = true;
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

UINT milliseconds(std::chrono::steady_clock::duration span)
{
    return static_cast<UINT>(
        std::max<int64_t>(1, std::chrono::duration_cast<std::chrono::milliseconds>(span).count()));
}

} // namespace

WindowOutcome runWithWindow(const std::string& finalTitle, std::chrono::milliseconds titleDelay,
                            std::chrono::steady_clock::time_point deadline)
{
    g_finalTitle = finalTitle;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "FakeAccess";
    RegisterClassA(&windowClass);
    const HWND window = CreateWindowA("FakeAccess", "Microsoft Access", WS_OVERLAPPEDWINDOW, 0, 0,
                                      320, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!window)
        return WindowOutcome::NoDisplay;
    ShowWindow(window, SW_SHOWNORMAL);
    SetTimer(window, kRetitle, milliseconds(titleDelay), nullptr);
    SetTimer(window, kGiveUp, milliseconds(deadline - std::chrono::steady_clock::now()), nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return g_closed ? WindowOutcome::CloseRequested : WindowOutcome::TimedOut;
}

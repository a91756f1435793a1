// The fake Access of fake_access.cpp for Windows, with the same orders from the environment
// (see there); its window is a Win32 window, closed by WM_CLOSE as Access's close box does.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

namespace {

constexpr int kTimedOut = 124;
constexpr UINT_PTR kRetitle = 1;
constexpr UINT_PTR kGiveUp = 2;

using Clock = std::chrono::steady_clock;

int envNumber(const char* name, int fallback)
{
    const char* value = std::getenv(name);
    return value && *value ? std::atoi(value) : fallback;
}

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

// Shows the window, retitles it and waits for a close request until the deadline.
int runWithWindow(const std::string& finalTitle, int timeoutMs)
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
        return 125;
    ShowWindow(window, SW_SHOWNORMAL);
    SetTimer(window, kRetitle, static_cast<UINT>(envNumber("FAKE_ACCESS_TITLE_DELAY_MS", 100)),
             nullptr);
    SetTimer(window, kGiveUp, static_cast<UINT>(timeoutMs), nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return g_closed ? envNumber("FAKE_ACCESS_EXIT_CODE", 0) : kTimedOut;
}

int behave()
{
    const int timeoutMs = envNumber("FAKE_ACCESS_TIMEOUT_MS", 10000);
    if (const char* title = std::getenv("FAKE_ACCESS_TITLE"))
        return runWithWindow(title, timeoutMs);
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (const char* hold = std::getenv("FAKE_ACCESS_RUN_WHILE");
         hold && GetFileAttributesA(hold) != INVALID_FILE_ATTRIBUTES;) {
        if (Clock::now() >= deadline)
            return kTimedOut;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return envNumber("FAKE_ACCESS_EXIT_CODE", 0);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1) {
        std::ofstream out(std::string(argv[1]) + ".args", std::ios::binary);
        for (int i = 1; i < argc; ++i)
            out << argv[i] << '\n';
    }
    const char* lock = std::getenv("FAKE_ACCESS_LOCK");
    if (lock && *lock)
        std::ofstream(lock).put('\n');
    const int code = behave();
    if (lock && *lock)
        std::remove(lock);
    return code;
}

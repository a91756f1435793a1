#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace quorvex {

// The top-level windows of other programs on the user's display: which one belongs to a
// process, its title, and the request to close it that its close box would send. Without a
// display there are no windows: nothing is found and nothing is sent.
class TopLevelWindows {
public:
    using Handle = uint32_t;
    static constexpr Handle kNoWindow = 0;

    // Connects to the display the environment names, if any and if it answers.
    TopLevelWindows();
    ~TopLevelWindows();
    TopLevelWindows(const TopLevelWindows&) = delete;
    TopLevelWindows& operator=(const TopLevelWindows&) = delete;

    bool hasDisplay() const { return m_display != nullptr; }
    // The first top-level window that the process has made, or kNoWindow.
    Handle findWindowOfProcess(int processId);
    // The window's title; empty when it has none or no longer exists.
    std::string windowText(Handle window);
    // Asks the window to close; a window that is gone is not an error.
    void requestClose(Handle window);

private:
    struct Display;
    std::unique_ptr<Display> m_display;
};

} // namespace quorvex

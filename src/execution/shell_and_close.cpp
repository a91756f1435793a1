#include "execution/shell_and_close.hpp"

#include "platform/process.hpp"
#include "platform/windows.hpp"
#include "support/desktop.hpp"
#include "support/error_handler.hpp"

#include <algorithm>
#include <optional>
#include <string_view>

namespace quorvex {

namespace {

constexpr int kDefaultWindowStyle = 6;
// The wait sleeps until the program ends, but never longer than this at a time, so window
// events keep running and the title is watched many times a second at almost no cost.
constexpr int kCyclePauseMs = 20;
// How often (in cycles) a program that has no window yet is looked at again.
constexpr int kWindowSearchInterval = 10;
constexpr int kEventPassesPerCycle = 3;

int normalisedWindowStyle(int windowStyle)
{
    return windowStyle < 0 || windowStyle > 6 ? kDefaultWindowStyle : windowStyle;
}

// The title is upper-cased and must begin with the word; "Unfinished" is no match.
bool titleBeginsWithFinished(const std::string& title)
{
    constexpr std::string_view kFinished = "FINISHED";
    const auto upper = [](char c) {
        return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    };
    return title.size() >= kFinished.size() &&
           std::equal(kFinished.begin(), kFinished.end(), title.begin(),
                      [&](char wanted, char c) { return upper(c) == wanted; });
}

// Watches the started program's window and asks it to close while its title begins with
// "FINISHED", so a program that stays open after its work still ends.
class FinishedWindowWatch {
public:
    explicit FinishedWindowWatch(int processId)
        : m_processId(processId), m_window(m_windows.findWindowOfProcess(processId))
    {
    }

    void check()
    {
        // A program has seldom made its window by the time its start returns, so the search
        // goes on now and then until a window turns up; one found is kept for good.
        if (m_window == TopLevelWindows::kNoWindow && m_windows.hasDisplay() &&
            ++m_cyclesWithoutWindow % kWindowSearchInterval == 0)
            m_window = m_windows.findWindowOfProcess(m_processId);
        if (titleBeginsWithFinished(m_windows.windowText(m_window)))
            m_windows.requestClose(m_window);
    }

private:
    TopLevelWindows m_windows;
    int m_processId;
    TopLevelWindows::Handle m_window;
    int m_cyclesWithoutWindow = 0;
};

} // namespace

int32_t ShellAndClose(const std::string& commandLine, int windowStyle)
{
    return trapFatal("ShellWait.bas", "ShellAndClose()", [&]() -> int32_t {
        std::optional<Process> process;
        try {
            process.emplace(commandLine, normalisedWindowStyle(windowStyle));
        } catch (const RuntimeError& startFailure) {
            return err::ObjectErrorBase + startFailure.number();
        }
        FinishedWindowWatch watch(process->id());
        std::optional<int32_t> exitStatus;
        do {
            watch.check();
            exitStatus = process->exitStatus();
            for (int pass = 0; pass < kEventPassesPerCycle; ++pass)
                desktop().doEvents();
            if (!exitStatus)
                process->waitForExit(kCyclePauseMs);
        } while (!exitStatus);
        return *exitStatus;
    });
}

} // namespace quorvex

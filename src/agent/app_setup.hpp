#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quorvex {

class frmMain;
class frmSchedule;
class SingleInstance;
class SysTrayApp;
class TerminationSignals;

// The command line as the program's own text: the arguments after the program, joined by
// blanks.
std::string commandLineText(int argc, const char* const* argv);
// "/SILENT" anywhere in the command line, exactly so (case counts, and inside a longer word
// it counts too), keeps the schedule window hidden at start.
bool isSilent(std::string_view commandLine);
// Neither an X11 nor a Wayland display to show windows on.
bool noDisplay();

// "--version" or "--help" as the only argument prints the version, or the usage and the
// folders where the agent looks, to standard output and gives the exit status 0; anything
// else is for the agent.
std::optional<int> answerInformationRequest(int argc, const char* const* argv);

// The agent's start-up and its end: the single-instance guard, the windows, the tray icon,
// the job list filled from the job files, the preferences; and the tray's Exit.
class AppSetup {
public:
    explicit AppSetup(bool silent);
    ~AppSetup();
    AppSetup(const AppSetup&) = delete;
    AppSetup& operator=(const AppSetup&) = delete;

    // Start-up. Returns false when another instance runs: the refusal box was shown and
    // nothing else was created.
    bool Main();
    // The tray menu's "Exit Quorvex" (also SIGTERM and SIGINT): stops the timer, removes the
    // icon, closes every window and ends the event loop with status 0.
    void Exit_Click();

    frmSchedule* schedule() const { return m_schedule.get(); }
    frmMain* mainWindow() const { return m_main.get(); }
    SysTrayApp* tray() const { return m_tray.get(); }

    // The name of the lock file in the data folder.
    static std::string lockFileName();

private:
    void createWindows();
    void fillJobList();
    void showSchedule();

    bool m_silent;
    std::unique_ptr<SingleInstance> m_instance;
    std::unique_ptr<frmSchedule> m_schedule;
    std::unique_ptr<frmMain> m_main;
    std::unique_ptr<SysTrayApp> m_tray;
    std::unique_ptr<TerminationSignals> m_signals;
};

// The whole agent: display check, Qt application, desktop, start-up and event loop. Returns
// the process's exit status.
int runAgent(int argc, char** argv);

} // namespace quorvex

// Stands in for Microsoft Access in tests. Started like Access (database path first, then its
// switches), it writes every argument it received, one per line, to "<database>.args" and
// then behaves as the environment asks:
//   FAKE_ACCESS_EXIT_CODE      the exit code (default 0)
//   FAKE_ACCESS_LOCK           a file created at start and removed at exit, as Access holds
//                              its lock file while the database is open
//   FAKE_ACCESS_RUN_WHILE      a file: without a window, stay running while it exists, so a
//                              test decides when "Access" ends
//   FAKE_ACCESS_TITLE          show a window titled "Microsoft Access", retitle it to this
//                              text after FAKE_ACCESS_TITLE_DELAY_MS (default 100), then wait
//                              for a close request and exit when it comes
//   FAKE_ACCESS_TIMEOUT_MS     how long it waits for either (default 10000); it then exits
//                              with kTimedOut, so a test never hangs
#include "fake_access_window.hpp"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace {

constexpr int kTimedOut = 124;
constexpr int kNoDisplay = 125;

using Clock = std::chrono::steady_clock;

int envNumber(const char* name, int fallback)
{
    const char* value = std::getenv(name);
    return value && *value ? std::atoi(value) : fallback;
}

int exitCodeAfter(WindowOutcome outcome)
{
    switch (outcome) {
    case WindowOutcome::CloseRequested:
        return envNumber("FAKE_ACCESS_EXIT_CODE", 0);
    case WindowOutcome::TimedOut:
        return kTimedOut;
    case WindowOutcome::NoDisplay:
        std::fprintf(stderr, "fake_access: no display for a window\n");
        return kNoDisplay;
    }
    return kNoDisplay;
}

int behave()
{
    const auto deadline =
        Clock::now() + std::chrono::milliseconds(envNumber("FAKE_ACCESS_TIMEOUT_MS", 10000));
    if (const char* title = std::getenv("FAKE_ACCESS_TITLE")) {
        const auto delay = std::chrono::milliseconds(envNumber("FAKE_ACCESS_TITLE_DELAY_MS", 100));
        return exitCodeAfter(runWithWindow(title, delay, deadline));
    }
    std::error_code error;
    for (const char* hold = std::getenv("FAKE_ACCESS_RUN_WHILE");
         hold && std::filesystem::exists(hold, error);) {
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

// Stands in for Microsoft Access in tests. Started like Access (database path first, then its
// switches), it writes every argument it received, one per line, to "<database>.args" and
// then behaves as the environment asks:
//   FAKE_ACCESS_EXIT_CODE      the exit code (default 0)
//   FAKE_ACCESS_RUN_MS         without a window, how long it stays running (default 0)
//   FAKE_ACCESS_TITLE          show a window with this title and exit when asked to close
//                              it
//   FAKE_ACCESS_TIMEOUT_MS     how long it waits for that (default 10000); it then exits
//                              with kTimedOut, so a test never hangs
#include "fake_access_window.hpp"

#include <cstdlib>
#include <fstream>
#include <thread>

namespace {

constexpr int kTimedOut = 124;

int envNumber(const char* name, int fallback)
{
    const char* value = std::getenv(name);
    return value && *value ? std::atoi(value) : fallback;
}

} // namespace

int main(int argc, char** argv)
{
    std::ofstream out(std::string(argv[1]) + ".args", std::ios::binary);
    for (int i = 1; i < argc; ++i)
        out << argv[i] << '\n';
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(envNumber("FAKE_ACCESS_TIMEOUT_MS", 10000));
    const int exitCode = envNumber("FAKE_ACCESS_EXIT_CODE", 0);
    if (const char* title = std::getenv("FAKE_ACCESS_TITLE"))
        return windowCloseRequested(title, deadline) ? exitCode : kTimedOut;
    std::this_thread::sleep_for(std::chrono::milliseconds(envNumber("FAKE_ACCESS_RUN_MS", 0)));
    return exitCode;
}

// The CPU time ShellAndClose itself spends while it waits for a child that runs for a while
// (the child's own time is not counted). Run it under an X display too, where every cycle
// also reads the child's window list.
//   shell_and_close_bench [seconds (3)]
#include "execution/shell_and_close.hpp"

#include <chrono>
#include <cstdio>
#include <string>
#include <sys/resource.h>

namespace {

double cpuMilliseconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

} // namespace

int main(int argc, char** argv)
{
    const std::string seconds = argc > 1 ? argv[1] : "3";
    const double cpuBefore = cpuMilliseconds();
    const auto wallBefore = std::chrono::steady_clock::now();
    const int32_t exitCode = quorvex::ShellAndClose("/bin/sleep " + seconds);
    const double wallMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wallBefore)
            .count();
    const double cpuMs = cpuMilliseconds() - cpuBefore;
    std::printf("ShellAndClose(\"/bin/sleep %s\"): exit code %d, wall %.1f ms, CPU %.2f ms "
                "(%.3f %% of the wait)\n",
                seconds.c_str(), exitCode, wallMs, cpuMs, 100.0 * cpuMs / wallMs);
    return exitCode == 0 ? 0 : 1;
}

#include "platform/termination_requests.hpp"

#include <atomic>
#include <csignal>

namespace quorvex {

namespace {

std::atomic<void (*)()> g_handler{nullptr};

extern "C" void onTerminationSignal(int)
{
    if (const auto handler = g_handler.load())
        handler();
}

void setAction(void (*action)(int))
{
    struct sigaction request {};
    request.sa_handler = action;
    sigemptyset(&request.sa_mask);
    request.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &request, nullptr);
    sigaction(SIGINT, &request, nullptr);
}

} // namespace

void setTerminationHandler(void (*handler)())
{
    g_handler = handler;
    setAction(onTerminationSignal);
}

void restoreDefaultTermination()
{
    setAction(SIG_DFL);
    g_handler = nullptr;
}

} // namespace quorvex

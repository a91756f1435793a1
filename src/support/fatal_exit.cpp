#include "support/fatal_exit.hpp"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace quorvex {

namespace {
FatalExitHandler g_handler;
} // namespace

void setFatalExitHandler(FatalExitHandler handler)
{
    g_handler = std::move(handler);
}

void FatalExit()
{
    if (g_handler)
        g_handler();
    std::fflush(nullptr);
    std::_Exit(1);
}

} // namespace quorvex

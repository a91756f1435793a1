#pragma once

#include <functional>

namespace quorvex {

// What happens once a fatal error report has been shown: by default every stream is flushed
// and the process ends with status 1 at once, without unwinding. Tests install a handler that
// throws instead, so they can watch the program "end".
using FatalExitHandler = std::function<void()>;
void setFatalExitHandler(FatalExitHandler handler);

// Runs the installed handler; if it returns, the process ends anyway.
[[noreturn]] void FatalExit();

} // namespace quorvex

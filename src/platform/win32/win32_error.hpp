#pragma once

#include "support/error.hpp"

#include <windows.h>

namespace quorvex {

// The errno value that stands for a Windows error code, so that failures read the same on
// every system: the callers compare the last system error with ENOENT and the like.
int errnoForWin32Error(DWORD error);

// The classic error for GetLastError().
[[noreturn]] void throwLastWin32Error();

} // namespace quorvex

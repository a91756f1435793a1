#pragma once

#include "support/error.hpp"

#include <filesystem>
#include <new>
#include <string>
#include <string_view>

namespace quorvex {

// Appends an entry to the error log ("<program>.err" in the data folder), tells the
// user in a message box and, when fatal, ends the program through FatalExit().
void HandleError(bool fatal, const RuntimeError& error, std::string_view module,
                 std::string_view routine, std::string_view details = {});

std::string errorLogPath();

// Reports a trapped error as fatal; never returns.
[[noreturn]] void reportFatal(const RuntimeError& error, std::string_view module,
                              std::string_view routine);

// The classic error that stands for a foreign exception (file system, memory, anything else).
RuntimeError toRuntimeError(const std::exception& e);

// Runs a routine's body with its whole-body trap: any run-time error is reported as fatal
// with the routine's module and name. Usage:
//   return trapFatal("libFiles.bas", "uKill()", [&] { ...; return 0; });
template <class Body>
auto trapFatal(std::string_view module, std::string_view routine, Body&& body) -> decltype(body())
{
    try {
        return body();
    } catch (const RuntimeError& e) {
        reportFatal(e, module, routine);
    } catch (const std::exception& e) {
        reportFatal(toRuntimeError(e), module, routine);
    }
}

} // namespace quorvex

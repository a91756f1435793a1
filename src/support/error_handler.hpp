#pragma once

#include "support/error.hpp"

#include <filesystem>
#include <new>
#include <string>
#include <string_view>

namespace quorvex {

// Appends an entry to the error log ("<program>.err" in the data folder), tells the user in a
// message box and, when fatal, ends the program through FatalExit(). It never throws: an
// error log that cannot be written costs the entry (it goes to standard error instead), never
// the box or the program's orderly end.
void HandleError(bool fatal, const RuntimeError& error, std::string_view module,
                 std::string_view routine, std::string_view details = {});

// Appends the entry HandleError writes, without any box, for failures the program lives
// through and reports in their own way (a failed job run, a job file left out). Never throws;
// false when the error log could not be written.
bool WriteErrorLogEntry(bool fatal, const RuntimeError& error, std::string_view module,
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

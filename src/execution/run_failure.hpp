#pragma once

#include "jobs/database_job.hpp"
#include "support/error.hpp"
#include "support/error_handler.hpp"

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvex {

// Whether an error comes from what a job runs on (a folder it may not read, a link that
// cannot be followed, a full disk, a failing device) rather than from the program itself:
// such errors carry the system's error code.
bool isEnvironmentFailure(const RuntimeError& error);

// An environment failure together with the path it concerns, so the run's log line can name
// it. Still the same classic error for everyone who looks only at the number.
class PathFailure : public RuntimeError {
public:
    PathFailure(const RuntimeError& error, std::string path)
        : RuntimeError(error), m_path(std::move(path))
    {
    }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

// Runs one step that works on path; an environment failure of it names the path.
template <class Step> auto atPath(const std::string& path, Step&& step) -> decltype(step())
{
    try {
        return step();
    } catch (const PathFailure&) {
        throw;
    } catch (const RuntimeError& e) {
        if (!isEnvironmentFailure(e))
            throw;
        throw PathFailure(e, path);
    }
}

// Ends a job's run over an environment failure: its line in the transaction log and the report
// as a non-fatal entry in the error log, with no box, so an unattended agent goes on with the
// next job.
void reportRunFailure(const RuntimeError& error, std::string_view module, std::string_view routine);

// A job action's whole-body trap: an environment failure ends only this run (reported, then
// the result of failed()); any other error is a programming error and fatal, as everywhere.
template <class Body, class Failed>
auto trapRun(std::string_view module, std::string_view routine, Body&& body, Failed&& failed)
    -> decltype(body())
{
    try {
        return body();
    } catch (const RuntimeError& e) {
        if (!isEnvironmentFailure(e))
            reportFatal(e, module, routine);
        reportRunFailure(e, module, routine);
    } catch (const std::exception& e) {
        const RuntimeError error = toRuntimeError(e);
        if (!isEnvironmentFailure(error))
            reportFatal(error, module, routine);
        reportRunFailure(error, module, routine);
    }
    return failed();
}

// A routine's trap that lets environment failures through to the run that called it, and
// reports anything else as fatal.
template <class Body>
auto trapFatalButEnvironment(std::string_view module, std::string_view routine, Body&& body)
    -> decltype(body())
{
    try {
        return body();
    } catch (const RuntimeError& e) {
        if (isEnvironmentFailure(e))
            throw;
        reportFatal(e, module, routine);
    } catch (const std::exception& e) {
        const RuntimeError error = toRuntimeError(e);
        if (isEnvironmentFailure(error))
            throw error;
        reportFatal(error, module, routine);
    }
}

} // namespace quorvex

#include "execution/run_failure.hpp"

#include "support/transaction_log.hpp"

namespace quorvex {

bool isEnvironmentFailure(const RuntimeError& error)
{
    return error.lastDllError() != 0;
}

void reportRunFailure(const RuntimeError& error, std::string_view module, std::string_view routine)
{
    const auto* failure = dynamic_cast<const PathFailure*>(&error);
    const std::string where = failure ? ": '" + failure->path() + "'." : ".";
    LogEvent("Quorvex Run Error #" + std::to_string(error.number()) + " - " + error.description() +
             where);
    WriteErrorLogEntry(false, error, module, routine, failure ? failure->path() : "");
}

} // namespace quorvex

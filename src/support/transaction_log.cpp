#include "support/transaction_log.hpp"

#include "support/app_info.hpp"
#include "support/clock.hpp"
#include "support/date_text.hpp"
#include "support/error_handler.hpp"
#include "support/strings.hpp"
#include "support/text_file.hpp"

namespace quorvex {

std::string transactionLogPath()
{
    return dataFile(app().programName + ".log");
}

void LogEvent(std::string_view message)
{
    trapFatal("libLog.bas", "LogEvent()", [&] {
        const std::string text = message.empty() ? "Null" : StripBadChars(message, "\"", "'");
        appendCrLfLines(transactionLogPath(), {formatLogStamp(Now()) + "  " + text});
    });
}

} // namespace quorvex

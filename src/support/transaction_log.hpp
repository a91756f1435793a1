#pragma once

#include <string>
#include <string_view>

namespace quorvex {

// Appends one line to the transaction log ("<program>.log" in the data folder):
// "mm/dd/yyyy hh:mm:ss", two blanks, the message with double quotes turned into apostrophes
// ("Null" for an empty message), CR LF. The file is opened and closed for every line.
void LogEvent(std::string_view message);

std::string transactionLogPath();

} // namespace quorvex

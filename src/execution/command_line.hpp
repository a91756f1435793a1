#pragma once

#include <string>

namespace quorvex {

// A command-line word in double quotes, so blanks in it do not split it.
inline std::string inQuotes(const std::string& text)
{
    return "\"" + text + "\"";
}

} // namespace quorvex

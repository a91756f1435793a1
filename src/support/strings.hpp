#pragma once

#include <string>
#include <string_view>

namespace quorvex {

// Replaces every character of text that occurs in set by replacement (which may be empty or
// longer than one character). Texts over 32767 characters are run-time error 6.
std::string StripBadChars(std::string_view text, std::string_view set, std::string_view replacement);

// The same replacement without the length limit, for the error report itself, which must never
// fail on a long description.
std::string replaceChars(std::string_view text, std::string_view set, std::string_view replacement);

} // namespace quorvex

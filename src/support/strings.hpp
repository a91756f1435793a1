#pragma once

#include <string>
#include <string_view>

namespace quorvex {

// Replaces every character of text that occurs in set by replacement (which may be empty or
// longer than one character). Texts over 32767 characters are run-time error 6.
std::string StripBadChars(std::string_view text, std::string_view set,
                          std::string_view replacement);

// The same replacement without the length limit, for the error report itself, which must never
// fail on a long description.
std::string replaceChars(std::string_view text, std::string_view set, std::string_view replacement);

// Text without the blanks and tabs at either end.
std::string_view trimBlanksAndTabs(std::string_view text);

// Texts are UTF-8; where the program cuts or pads a text it counts characters (code points),
// so a cut never splits one. A stray byte that belongs to no character counts as one.
size_t characterCount(std::string_view text);
// The first, or the last, count characters of a text (all of it when it is shorter).
std::string_view firstCharacters(std::string_view text, size_t count);
std::string_view lastCharacters(std::string_view text, size_t count);

// Whether two texts are equal when ASCII letters are compared without regard to case.
bool equalsNoCase(std::string_view a, std::string_view b);

} // namespace quorvex

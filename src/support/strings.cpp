#include "support/strings.hpp"

#include "support/error.hpp"
#include "support/error_handler.hpp"

namespace quorvex {

namespace {
// The classic string routines count characters in a signed 16-bit integer.
constexpr size_t kMaxTextLength = 32767;
constexpr std::string_view kBlanks = " \t";

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
} // namespace

std::string replaceChars(std::string_view text, std::string_view set, std::string_view replacement)
{
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        if (set.find(c) != std::string_view::npos)
            result.append(replacement);
        else
            result += c;
    }
    return result;
}

std::string_view trimBlanks(std::string_view text)
{
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    return true;
}

std::string StripBadChars(std::string_view text, std::string_view set, std::string_view replacement)
{
    return trapFatal("libStrings.bas", "StripBadChars()", [&] {
        if (text.size() > kMaxTextLength)
            throw RuntimeError::fromNumber(err::Overflow);
        return replaceChars(text, set, replacement);
    });
}

} // namespace quorvex

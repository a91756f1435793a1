#include "support/strings.hpp"

#include "support/error.hpp"
#include "support/error_handler.hpp"

namespace quorvex {

namespace {
// The classic string routines count characters in a signed 16-bit integer.
constexpr size_t kMaxTextLength = 32767;
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

std::string StripBadChars(std::string_view text, std::string_view set, std::string_view replacement)
{
    return trapFatal("libStrings.bas", "StripBadChars()", [&] {
        if (text.size() > kMaxTextLength)
            throw RuntimeError::fromNumber(err::Overflow);
        return replaceChars(text, set, replacement);
    });
}

} // namespace quorvex

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

std::string_view trimBlanksAndTabs(std::string_view text)
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
        if (characterCount(text) > kMaxTextLength)
            throw RuntimeError::fromNumber(err::Overflow);
        return replaceChars(text, set, replacement);
    });
}

namespace {

// A byte that continues a character rather than starting one.
bool continues(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// A continuation byte counts as a character of its own unless a lead byte before it, close
// enough for its sequence to reach it, has started the character it belongs to.
bool startsCharacter(std::string_view text, size_t pos)
{
    if (!continues(text[pos]))
        return true;
    for (size_t back = 1; back <= 3 && back <= pos; ++back) {
        const auto lead = static_cast<unsigned char>(text[pos - back]);
        if (continues(text[pos - back]))
            continue;
        const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        return back >= length;
    }
    return true;
}

} // namespace

size_t characterCount(std::string_view text)
{
    size_t count = 0;
    for (size_t pos = 0; pos < text.size(); ++pos)
        count += startsCharacter(text, pos) ? 1 : 0;
    return count;
}

std::string_view firstCharacters(std::string_view text, size_t count)
{
    size_t started = 0;
    for (size_t pos = 0; pos < text.size(); ++pos)
        if (startsCharacter(text, pos) && started++ == count)
            return text.substr(0, pos);
    return text;
}

std::string_view lastCharacters(std::string_view text, size_t count)
{
    if (count == 0)
        return text.substr(text.size());
    size_t started = 0;
    for (size_t pos = text.size(); pos-- > 0;)
        if (startsCharacter(text, pos) && ++started == count)
            return text.substr(pos);
    return text;
}

} // namespace quorvex

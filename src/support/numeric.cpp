#include "support/numeric.hpp"

#include "support/error.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace quorvex {

namespace {

[[noreturn]] void throwOverflow()
{
    throw RuntimeError::fromNumber(err::Overflow);
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Val skips these wherever they stand, so "1 2" reads as 12.
std::string withoutBlanks(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n')
            out += c;
    return out;
}

int digitValue(char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

// "&H" and "&O" numbers: the value's bit pattern is read as a signed 16-bit number when it
// fits 16 bits (&HFFFF is -1), else as a signed 32-bit one; wider values overflow.
double radixNumber(std::string_view digits, int radix)
{
    uint64_t value = 0;
    for (char c : digits) {
        const int d = digitValue(c);
        if (d >= radix)
            break;
        value = value * static_cast<uint64_t>(radix) + static_cast<uint64_t>(d);
        if (value > 0xFFFFFFFFu)
            throwOverflow();
    }
    if (value <= 0xFFFFu)
        return static_cast<int16_t>(static_cast<uint16_t>(value));
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

std::string_view leadingDigits(std::string_view text)
{
    size_t n = 0;
    while (n < text.size() && isDigit(text[n]))
        ++n;
    return text.substr(0, n);
}

// The decimal exponent of the number's first significant digit, to tell a too large number
// (overflow) from a too small one (zero) when the conversion is out of range.
int64_t magnitude(std::string_view integer, std::string_view fraction, int64_t exponent)
{
    const size_t firstInt = integer.find_first_not_of('0');
    if (firstInt != std::string_view::npos)
        return static_cast<int64_t>(integer.size() - firstInt) - 1 + exponent;
    const size_t firstFrac = fraction.find_first_not_of('0');
    return exponent - static_cast<int64_t>(firstFrac) - 1;
}

struct DecimalParts {
    bool negative = false;
    std::string_view integer;
    std::string_view fraction;
    bool exponentNegative = false;
    std::string_view exponent;
};

DecimalParts splitDecimal(std::string_view text)
{
    DecimalParts parts;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        parts.negative = text[0] == '-';
        text.remove_prefix(1);
    }
    parts.integer = leadingDigits(text);
    text.remove_prefix(parts.integer.size());
    if (!text.empty() && text[0] == '.') {
        parts.fraction = leadingDigits(text.substr(1));
        text.remove_prefix(1 + parts.fraction.size());
    }
    if (parts.integer.empty() && parts.fraction.empty())
        return parts;
    if (!text.empty() && (text[0] == 'E' || text[0] == 'e' || text[0] == 'D' || text[0] == 'd')) {
        text.remove_prefix(1);
        if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
            parts.exponentNegative = text[0] == '-';
            text.remove_prefix(1);
        }
        parts.exponent = leadingDigits(text);
    }
    return parts;
}

int64_t exponentValue(const DecimalParts& parts)
{
    // Far beyond any double's range already; the cap only keeps the sum from wrapping.
    constexpr int64_t kCap = 100000;
    int64_t value = 0;
    for (char c : parts.exponent)
        value = std::min(kCap, value * 10 + (c - '0'));
    return parts.exponentNegative ? -value : value;
}

double decimalNumber(std::string_view text)
{
    const DecimalParts parts = splitDecimal(text);
    if (parts.integer.find_first_not_of('0') == std::string_view::npos &&
        parts.fraction.find_first_not_of('0') == std::string_view::npos)
        return 0.0;

    const int64_t exponent = exponentValue(parts);
    std::string normal(parts.integer.empty() ? "0" : parts.integer);
    normal.append(".").append(parts.fraction).append("e").append(std::to_string(exponent));

    double value = 0.0;
    const auto result = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        if (magnitude(parts.integer, parts.fraction, exponent) > 0)
            throwOverflow();
        value = 0.0;
    }
    return parts.negative ? -value : value;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if ((text[i] | 0x20) != (prefix[i] | 0x20))
            return false;
    return true;
}

} // namespace

double Val(std::string_view text)
{
    const std::string compact = withoutBlanks(text);
    const std::string_view view = compact;
    if (startsWithNoCase(view, "&H"))
        return radixNumber(view.substr(2), 16);
    if (startsWithNoCase(view, "&O"))
        return radixNumber(view.substr(2), 8);
    return decimalNumber(view);
}

double roundHalfEven(double value)
{
    const double below = std::floor(value);
    const double rest = value - below;
    if (rest < 0.5)
        return below;
    if (rest > 0.5)
        return below + 1.0;
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

int16_t toInt16(double value)
{
    const double rounded = roundHalfEven(value);
    if (!(rounded >= -32768.0 && rounded <= 32767.0))
        throwOverflow();
    return static_cast<int16_t>(rounded);
}

int32_t toInt32(double value)
{
    const double rounded = roundHalfEven(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        throwOverflow();
    return static_cast<int32_t>(rounded);
}

} // namespace quorvex

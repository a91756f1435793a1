// Any text as a job file or Quorvex.ini may hold it, read by the classic Val and as a date and a
// time. Val gives a number or, beyond the range of a double, Overflow, and a conversion to an
// integer either fits or is Overflow. A date or time is read or refused with Type mismatch, and
// one read back from what the writer makes of it is the same.
#include "fuzz_environment.hpp"

#include "support/date_text.hpp"
#include "support/error.hpp"
#include "support/numeric.hpp"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace quorvex;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const double value = Val(text);
        for (const auto convert : {+[](double v) { return double(toInt16(v)); },
                                   +[](double v) { return double(toInt32(v)); }}) {
            try {
                fuzz::require(std::abs(convert(value) - value) <= 0.5);
            } catch (const RuntimeError& e) {
                fuzz::require(e.number() == err::Overflow);
            }
        }
    } catch (const RuntimeError& e) {
        fuzz::require(e.number() == err::Overflow);
    }
    try {
        const DateTime date = parseDate(text);
        fuzz::require(parseDate(formatDate(date)) == date.datePart());
    } catch (const RuntimeError& e) {
        fuzz::require(e.number() == err::TypeMismatch || e.number() == err::InvalidCall);
    }
    try {
        const DateTime time = parseTime(text);
        fuzz::require(parseTime(formatTime(time)).serialSeconds() / 60 ==
                      time.timePart().serialSeconds() / 60);
    } catch (const RuntimeError& e) {
        fuzz::require(e.number() == err::TypeMismatch);
    }
    return 0;
}

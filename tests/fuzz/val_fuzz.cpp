// The classic Val and the integer conversions behind every number a job file or Quorvex.ini
// holds: any text gives a number or, beyond the range of a double, Overflow; a conversion
// either fits or is Overflow.
#include "fuzz_environment.hpp"

#include "support/error.hpp"
#include "support/numeric.hpp"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace quorvex;
    double value = 0;
    try {
        value = Val(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const RuntimeError& e) {
        fuzz::require(e.number() == err::Overflow);
        return 0;
    }
    for (const auto convert : {+[](double v) { return double(toInt16(v)); },
                               +[](double v) { return double(toInt32(v)); }}) {
        try {
            const double converted = convert(value);
            fuzz::require(std::abs(converted - value) <= 0.5);
        } catch (const RuntimeError& e) {
            fuzz::require(e.number() == err::Overflow);
        }
    }
    return 0;
}

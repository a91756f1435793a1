#pragma once

#include <cstdint>
#include <string_view>

namespace quorvex {

// The classic Val: the leading number of a text (blanks, tabs and line feeds ignored anywhere;
// one decimal point; exponent with E or D; &H and &O prefixes); 0 when there is none.
double Val(std::string_view text);

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double value);

// Rounded as above; outside the type's range is run-time error 6 (Overflow).
int16_t toInt16(double value);
int32_t toInt32(double value);

} // namespace quorvex

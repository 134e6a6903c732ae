#pragma once
// The two number conversions that every part of the program shares.

#include <string_view>

namespace vlt {

// Reading a number from text: blanks (spaces and tabs) are ignored wherever
// they stand; an optional sign; digits with at most one "." as decimal point;
// reading stops at the first other character; no digits gives 0.
// " 1 2.5x" -> 12.5, "-.5" -> -0.5, "1.2.3" -> 1.2, "abc" -> 0.
double NumberFromText(std::string_view text);

// x rounded to the given number of decimal places (0..15), halves to the even
// neighbour (a value whose scaled form lies exactly halfway).  Non-finite
// values and values too large to carry that many decimals come back as they
// are.
double RoundHalfEven(double x, int decimals);

}  // namespace vlt

#include "app/support/numbers.h"

#include <charconv>
#include <cmath>
#include <string>

namespace vlt {

double NumberFromText(std::string_view text) {
    // Gather sign, digits and one point, skipping blanks; stop at anything
    // else.  The gathered text is converted locale-independently.
    std::string gathered;
    bool seenSign = false;
    bool seenPoint = false;
    bool seenDigit = false;
    for (char c : text) {
        if (c == ' ' || c == '\t') continue;
        if ((c == '+' || c == '-') && !seenSign && !seenDigit && !seenPoint) {
            seenSign = true;
            if (c == '-') gathered.push_back('-');
            continue;
        }
        if (c == '.' && !seenPoint) {
            seenPoint = true;
            gathered.push_back('.');
            continue;
        }
        if (c >= '0' && c <= '9') {
            seenDigit = true;
            gathered.push_back(c);
            continue;
        }
        break;
    }
    if (!seenDigit) return 0.0;
    double value = 0.0;
    const char* first = gathered.data();
    const char* last = gathered.data() + gathered.size();
    const bool negative = !gathered.empty() && gathered.front() == '-';
    if (negative) ++first;
    const auto result = std::from_chars(first, last, value, std::chars_format::fixed);
    if (result.ec == std::errc::result_out_of_range) {
        value = HUGE_VAL;  // more digits than a double holds
    } else if (result.ec != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

double RoundHalfEven(double x, int decimals) {
    if (!std::isfinite(x)) return x;
    if (decimals < 0) decimals = 0;
    if (decimals > 15) decimals = 15;
    const double scale = std::pow(10.0, decimals);
    const double scaled = x * scale;
    // Beyond 2^52 a double has no fraction left to round.
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 4503599627370496.0) return x;
    // rint rounds in the current mode, which is to nearest with ties to even.
    return std::rint(scaled) / scale;
}

}  // namespace vlt

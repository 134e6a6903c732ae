#include "app/engine/transit_result.h"

#include <cmath>

#include "app/support/numbers.h"

namespace vlt {

bool TransitLine::AnyEntry() const {
    for (const auto& e : entry) {
        if (e) return true;
    }
    return false;
}

bool TransitLine::Empty() const {
    if (aspect || minimum || AnyEntry()) return false;
    for (const auto& e : exit) {
        if (e) return false;
    }
    return true;
}

std::optional<DegreesMinutes> DegreesMinutesOf(double radians) {
    if (!(radians >= 0.0) || radians > kTwoPi) return std::nullopt;
    const double degrees = radians / kTwoPi * 360.0;
    long d = static_cast<long>(std::floor(degrees + 0.00001));
    long m = std::lround(RoundHalfEven((degrees - static_cast<double>(d)) * 60.0, 0));
    if (m < 0) m = 0;  // degrees just under a whole number counted up to it
    if (m == 60) {
        // 60 minutes carry into the degrees, except at 359 degrees.
        if (d != 359) {
            ++d;
            m = 0;
        } else {
            m = 59;
        }
    }
    return DegreesMinutes{d, m};
}

}  // namespace vlt

#include "app/engine/motion_bounds.h"

#include <array>

#include "app/positions/positions.h"

namespace vlt {

namespace {

struct MotionRow {
    std::int16_t planet;
    bool heliocentric;
    LongitudeMotion motion;
};

// Measured with `vlt_motion_bounds data/` (tools/measure_motion_bounds.cpp,
// a few minutes per planet), rounded up to four digits.  Degrees per day and
// per day squared.
constexpr std::array<MotionRow, 18> kMeasured{{
    {1, false, {1.022, {0.0006774, 0.0006774, 0.0006772}}},
    {2, false, {2.205, {0.1987, 0.1987, 0.1986}}},
    {3, false, {1.26, {0.04265, 0.04264, 0.04263}}},
    {4, false, {0.7917, {0.01517, 0.01517, 0.01517}}},
    {5, false, {0.243, {0.01839, 0.006949, 0.004183}}},
    {6, false, {0.1314, {0.004868, 0.002576, 0.002005}}},
    {7, false, {0.06329, {0.002154, 0.001235, 0.001008}}},
    {8, false, {0.03805, {0.001342, 0.0007508, 0.0006148}}},
    {9, false, {0.05001, {0.2667, 0.1334, 0.06667}}},
    {1, true, {1.022, {0.000677, 0.000677, 0.0006768}}},
    {2, true, {6.33, {0.1625, 0.1624, 0.1624}}},
    {3, true, {1.628, {0.0008547, 0.0008548, 0.0008548}}},
    {4, true, {0.6362, {0.0009689, 0.000969, 0.000969}}},
    {5, true, {0.09209, {0.01383, 0.003458, 0.0008979}}},
    {6, true, {0.03798, {0.003192, 0.0007994, 0.0002017}}},
    {7, true, {0.01308, {0.001237, 0.0003094, 7.746e-05}}},
    {8, true, {0.006208, {0.0009396, 0.000235, 5.875e-05}}},
    {9, true, {0.007223, {0.002223, 0.001112, 0.0005556}}},
}};

}  // namespace

std::optional<LongitudeMotion> MeasuredMotion(std::int16_t planet, bool heliocentric) {
    for (const MotionRow& row : kMeasured) {
        if (row.planet == planet && row.heliocentric == heliocentric) return row.motion;
    }
    return std::nullopt;
}

std::optional<SeparationBounds> SeparationStepBounds(std::int16_t first, std::int16_t second,
                                                     bool heliocentric, double step) {
    const std::optional<LongitudeMotion> a = MeasuredMotion(first, heliocentric);
    const std::optional<LongitudeMotion> b = MeasuredMotion(second, heliocentric);
    const std::size_t grid = step == 0.125 ? 0 : step == 0.25 ? 1 : step == 0.5 ? 2 : 3;
    if (!a || !b || grid == 3) return std::nullopt;
    const double radians = kMotionMargin * kTwoPi / 360.0;
    SeparationBounds bounds;
    bounds.move = (a->rate + b->rate) * step * radians;
    bounds.bend = (a->acceleration[grid] + b->acceleration[grid]) * step * step * radians;
    return bounds;
}

}  // namespace vlt

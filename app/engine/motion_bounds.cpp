#include "app/engine/motion_bounds.h"

#include <algorithm>
#include <array>

#include "app/positions/positions.h"
#include "app/positions/vocabulary.h"

namespace vlt {

namespace {

struct MotionRow {
    std::int16_t planet;
    bool heliocentric;
    LongitudeMotion motion;
};

// Measured with `vlt_motion_bounds data/` (tools/measure_motion_bounds.cpp,
// a few minutes per planet), rounded up to four digits.  Degrees per day, per
// day squared and per day cubed.
constexpr std::array<MotionRow, 18> kMeasured{{
    {1, false, {1.022, {0.0006774, 0.0006774, 0.0006772}, {2.882e-05, 2.851e-05, 2.848e-05}}},
    {2, false, {2.205, {0.1987, 0.1987, 0.1986}, {0.0476, 0.04758, 0.04749}}},
    {3, false, {1.26, {0.04265, 0.04264, 0.04263}, {0.00444, 0.004441, 0.00444}}},
    {4, false, {0.7917, {0.01517, 0.01517, 0.01517}, {0.0009204, 0.0009204, 0.0009201}}},
    {5, false, {0.243, {0.01839, 0.006949, 0.004183}, {0.0001126, 0.0001126, 0.0001126}}},
    {6, false, {0.1314, {0.004868, 0.002576, 0.002005}, {5.175e-05, 5.174e-05, 5.177e-05}}},
    {7, false, {0.06329, {0.002154, 0.001235, 0.001008}, {2.124e-05, 2.124e-05, 2.126e-05}}},
    {8, false, {0.03805, {0.001342, 0.0007508, 0.0006148}, {1.245e-05, 1.244e-05, 1.244e-05}}},
    {9, false, {0.05001, {0.2667, 0.1334, 0.06667}, {2.134, 0.5334, 0.1334}}},
    {1, true, {1.022, {0.000677, 0.000677, 0.0006768}, {2.871e-05, 2.849e-05, 2.847e-05}}},
    {2, true, {6.33, {0.1625, 0.1624, 0.1624}, {0.02564, 0.02564, 0.02562}}},
    {3, true, {1.628, {0.0008547, 0.0008548, 0.0008548}, {2.605e-05, 2.531e-05, 2.525e-05}}},
    {4, true, {0.6362, {0.0009689, 0.000969, 0.000969}, {1.367e-05, 1.36e-05, 1.36e-05}}},
    {5, true, {0.09209, {0.01383, 0.003458, 0.0008979}, {2.727e-08, 2.73e-08, 2.728e-08}}},
    {6, true, {0.03798, {0.003192, 0.0007994, 0.0002017}, {7.107e-09, 2.332e-09, 2.168e-09}}},
    {7, true, {0.01308, {0.001237, 0.0003094, 7.746e-05}, {2.345e-10, 9.934e-11, 9.425e-11}}},
    {8, true, {0.006208, {0.0009396, 0.000235, 5.875e-05}, {2.085e-10, 5.212e-11, 4.072e-11}}},
    {9, true, {0.007223, {0.002223, 0.001112, 0.0005556}, {0.01778, 0.004445, 0.001112}}},
}};

}  // namespace

std::optional<LongitudeMotion> MeasuredMotion(std::int16_t planet, bool heliocentric) {
    for (const MotionRow& row : kMeasured) {
        if (row.planet == planet && row.heliocentric == heliocentric) return row.motion;
    }
    return std::nullopt;
}

std::int32_t SmoothPiece(std::int16_t planet, double jd) {
    if (planet < kJupiter || planet > kNeptune) return 0;
    // The records hold five calendar years each, counted from a year
    // divisible by 5 (the files start in -4000 and 1600).
    const std::int32_t year = YearOfJulianDay(jd);
    return year >= 0 ? year / 5 : -((4 - year) / 5);
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
    // A body measured without a third difference leaves the pair without one.
    if (a->jerk[grid] > 0.0 && b->jerk[grid] > 0.0) {
        // The third differences of the slowest heliocentric bodies are of
        // the order of the rounding of their positions (of the Julian date,
        // to some 5e-10 day, and of the sums), which no sampling is sure to
        // meet at its largest: each of the four points may carry up to
        // `rounding`, so eight times it come on top.
        const double rounding = (a->rate + b->rate) * kTwoPi / 360.0 * 1e-9 + 2e-14;
        bounds.turn = (a->jerk[grid] + b->jerk[grid]) * step * step * step * radians + 8 * rounding;
    }
    return bounds;
}

std::optional<double> SeparationCurvature(std::int16_t first, std::int16_t second,
                                          bool heliocentric) {
    if (first == kPluto || second == kPluto) return std::nullopt;
    const std::optional<LongitudeMotion> a = MeasuredMotion(first, heliocentric);
    const std::optional<LongitudeMotion> b = MeasuredMotion(second, heliocentric);
    if (!a || !b) return std::nullopt;
    const auto largest = [](const LongitudeMotion& m) {
        return *std::max_element(m.acceleration.begin(), m.acceleration.end());
    };
    return (largest(*a) + largest(*b)) * kMotionMargin * kTwoPi / 360.0;
}

}  // namespace vlt

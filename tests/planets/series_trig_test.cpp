// The series' own sine and cosine against the standard library's, over the
// ranges of arguments that the periodic terms produce and beyond.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "planets/src/series_trig.h"

namespace {

struct Range {
    double low;
    double high;
    double tolerance;  // absolute
};

TEST(SeriesTrig, AgreesWithTheStandardLibrary) {
    const Range ranges[] = {
        {-1.0, 1.0, 2.5e-16},      // no reduction needed
        {-7.0, 7.0, 3e-16},        // every quadrant once
        {-5000.0, 5000.0, 4e-16},  // arguments of dates in 1900-2100
        {-1.2e6, 1.2e6, 1e-15},    // the theory's full span
        {1.4e6, 1.6e6, 1e-15},     // across the switch to the standard functions
        {-1e12, 1e12, 1e-15},      // far outside: the standard functions answer
    };
    std::mt19937_64 rng(99);
    for (const Range& r : ranges) {
        std::uniform_real_distribution<double> pick(r.low, r.high);
        double worst = 0.0;
        for (int i = 0; i < 200000; ++i) {
            const double x = pick(rng);
            const pvlt::SinCos sc = pvlt::series_sincos(x);
            worst = std::fmax(worst, std::fabs(sc.sin - std::sin(x)));
            worst = std::fmax(worst, std::fabs(sc.cos - std::cos(x)));
            ASSERT_EQ(pvlt::series_sin(x), sc.sin);
            ASSERT_EQ(pvlt::series_cos(x), sc.cos);
        }
        EXPECT_LE(worst, r.tolerance) << "[" << r.low << ", " << r.high << "]";
    }
}

TEST(SeriesTrig, QuadrantBoundariesAndSpecialValues) {
    const double half_pi = 1.5707963267948966;
    for (int k = -8; k <= 8; ++k) {
        for (double d : {-1e-9, 0.0, 1e-9, -0.785, 0.785}) {
            const double x = k * half_pi + d;
            EXPECT_NEAR(pvlt::series_sin(x), std::sin(x), 3e-16) << x;
            EXPECT_NEAR(pvlt::series_cos(x), std::cos(x), 3e-16) << x;
        }
    }
    EXPECT_EQ(pvlt::series_sin(0.0), 0.0);
    EXPECT_EQ(pvlt::series_cos(0.0), 1.0);
    EXPECT_TRUE(std::isnan(pvlt::series_sin(std::numeric_limits<double>::quiet_NaN())));
    EXPECT_TRUE(std::isnan(pvlt::series_cos(std::numeric_limits<double>::infinity())));
}

}  // namespace

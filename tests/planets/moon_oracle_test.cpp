// The Moon of the positions library against the Swiss Ephemeris (DE431
// files), both in universal time: positions over the file's whole span, and
// the new and full moons of 1700-2300 found from each side's own Sun and
// Moon.  VLT_MOON_EVERY_LUNATION=1 checks every lunation instead of a sample
// (the figures of docs/accuracy.md).
#include <gtest/gtest.h>
#include <swephexp.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>

#include "planets/include/planets_vlt.h"
#include "planets/src/planets_internal.h"

namespace {

constexpr double kDeg = 180.0 / 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kJd1600 = 2305447.5;
constexpr double kJd2800 = 2743918.5;
constexpr double kJd1700 = 2341972.5;
constexpr double kJd2300 = 2561117.5;
constexpr double kSynodicMonth = 29.530589;

// Elongation of the Moon from the Sun (radians, any branch) at a universal
// Julian date.
using Elongation = std::function<double(double)>;

double oracle_longitude(double jd_ut, int body, double* distance) {
    double xx[6] = {0};
    char serr[AS_MAXCH] = {0};
    const int32 got = swe_calc_ut(jd_ut, body, SEFLG_SWIEPH, xx, serr);
    EXPECT_TRUE(got >= 0 && (got & SEFLG_SWIEPH)) << "Swiss Ephemeris files not used: " << serr;
    if (distance != nullptr) *distance = xx[2];
    return xx[0] / kDeg;
}

double oracle_elongation(double jd) {
    return oracle_longitude(jd, SE_MOON, nullptr) - oracle_longitude(jd, SE_SUN, nullptr);
}

// The library as the program calls it: the Moon (10) and the Sun (3) at the
// same date.
double library_elongation(double jd) {
    double rv = 0.0;
    const double moon = gc_app_long_rv_planet(10, jd, 0, &rv);
    const double sun = gc_app_long_rv_planet(3, jd, 0, &rv);
    EXPECT_GE(moon, 0.0) << jd;
    return moon - sun;
}

// First instant after `from` at which the elongation passes `target`
// (0 new moon, pi full moon), to about a tenth of a second: steps of a
// quarter day, then bisection.
double next_phase(const Elongation& elongation, double from, double target) {
    const auto f = [&](double jd) { return std::remainder(elongation(jd) - target, kTwoPi); };
    double a = from;
    double fa = f(a);
    for (int i = 0; i < 200; ++i) {
        const double b = a + 0.25;
        const double fb = f(b);
        // A sign change near zero, not the jump from +pi to -pi.
        if (fa < 0.0 && fb >= 0.0 && fb - fa < 1.0) {
            double lo = a;
            double hi = b;
            for (int k = 0; k < 22; ++k) {
                const double m = 0.5 * (lo + hi);
                (f(m) < 0.0 ? lo : hi) = m;
            }
            return 0.5 * (lo + hi);
        }
        a = b;
        fa = fb;
    }
    ADD_FAILURE() << "no phase after " << from;
    return from;
}

class MoonOracle : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        char path[] = VLT_SWE_EPHE_DIR;
        swe_set_ephe_path(path);
        set_datafiles_folder((std::string(VLT_DATA_DIR) + "/").c_str());
    }
    static void TearDownTestSuite() { swe_close(); }
};

// Longitude and distance at random instants of 1600-2799.
TEST_F(MoonOracle, PositionsOverTheWholeSpan) {
    std::mt19937_64 rng(20261208);
    std::uniform_real_distribution<double> pick(kJd1600, kJd2800);
    double worst = 0.0;
    double sum_sq = 0.0;
    double worst_distance = 0.0;
    constexpr int kSamples = 4000;
    for (int i = 0; i < kSamples; ++i) {
        const double jd = pick(rng);
        double rv = 0.0;
        double oracle_rv = 0.0;
        const double ours = gc_app_long_rv_planet(10, jd, 0, &rv);
        const double theirs = oracle_longitude(jd, SE_MOON, &oracle_rv);
        ASSERT_GE(ours, 0.0) << jd;
        const double e = std::remainder(ours - theirs, kTwoPi) * kDeg * 3600.0;
        worst = std::max(worst, std::fabs(e));
        sum_sq += e * e;
        worst_distance = std::max(worst_distance, std::fabs(rv - oracle_rv));
    }
    std::printf("Moon apparent longitude 1600-2799: max %.3f\"  rms %.3f\"  distance max %.2e AU\n",
                worst, std::sqrt(sum_sq / kSamples), worst_distance);
    EXPECT_LT(worst, 0.3);
    EXPECT_LT(worst_distance, 1e-6);
}

// New and full moons: the library's instants against the oracle's, one
// lunation in twelve (every one with VLT_MOON_EVERY_LUNATION=1).
TEST_F(MoonOracle, NewAndFullMoonsOf1700To2300WithinAMinute) {
    const char* every = std::getenv("VLT_MOON_EVERY_LUNATION");
    const int stride = (every != nullptr && std::string(every) == "1") ? 1 : 12;
    const struct {
        const char* name;
        double target;
    } phases[] = {{"new moon", 0.0}, {"full moon", pvlt::kPi}};
    for (const auto& phase : phases) {
        double worst = 0.0;
        double worst_at = 0.0;
        int events = 0;
        for (double from = kJd1700; from < kJd2300; from += stride * kSynodicMonth) {
            const double ours = next_phase(library_elongation, from, phase.target);
            const double theirs = next_phase(oracle_elongation, from, phase.target);
            const double seconds = std::fabs(ours - theirs) * 86400.0;
            if (seconds > worst) worst = seconds, worst_at = theirs;
            ++events;
        }
        std::printf("%-9s 1700-2300: %d events, largest difference %.1f s (at jd %.4f)\n",
                    phase.name, events, worst, worst_at);
        EXPECT_LT(worst, 60.0) << phase.name << " at jd " << worst_at;
        EXPECT_GT(events, 7000 / stride);
    }
}

}  // namespace

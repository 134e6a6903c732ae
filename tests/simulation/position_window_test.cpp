// The position window: which instants are asked for, how rows move, and the
// five transit tests on constructed separations.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "app/simulation/position_window.h"

namespace vlt {
namespace {

constexpr double kDeg = 6.28318530717959 / 360.0;

// Records every request; the longitude encodes planet and instant.
class RecordingSource : public HelioPositionSource {
public:
    double HelioLongitude(std::int16_t planet, double jd) override {
        asked.emplace_back(planet, jd);
        return planet * 0.5 + (jd - 2454200.0) * 0.01;
    }
    std::vector<std::pair<int, double>> asked;
};

TEST(PositionWindow, FirstStepFillsThreeRowsOfEveryPlanet) {
    RecordingSource source;
    PositionWindow window;
    FillPositionWindow(window, source, 2454200.0, 0.125, true);
    ASSERT_EQ(source.asked.size(), 27u);
    for (int p = 1; p <= 9; ++p) {
        for (int k = -1; k <= 1; ++k) {
            const auto& call = source.asked[static_cast<std::size_t>((p - 1) * 3 + k + 1)];
            EXPECT_EQ(call.first, p);
            EXPECT_DOUBLE_EQ(call.second, 2454200.0 + k * 0.125);
            EXPECT_DOUBLE_EQ(window.At(static_cast<std::int16_t>(p), k).Longitude(),
                             p * 0.5 + k * 0.125 * 0.01);
        }
    }
}

TEST(PositionWindow, LaterStepsShiftRowsAndComputeOnlyTheNext) {
    RecordingSource source;
    PositionWindow window;
    FillPositionWindow(window, source, 2454200.0, 0.125, true);
    source.asked.clear();
    FillPositionWindow(window, source, 2454200.125, 0.125, false);
    ASSERT_EQ(source.asked.size(), 9u);
    for (int p = 1; p <= 9; ++p) {
        EXPECT_EQ(source.asked[static_cast<std::size_t>(p - 1)].first, p);
        EXPECT_DOUBLE_EQ(source.asked[static_cast<std::size_t>(p - 1)].second, 2454200.25);
        const auto planet = static_cast<std::int16_t>(p);
        EXPECT_DOUBLE_EQ(window.At(planet, -1).Longitude(), p * 0.5);
        EXPECT_DOUBLE_EQ(window.At(planet, 0).Longitude(), p * 0.5 + 0.125 * 0.01);
        EXPECT_DOUBLE_EQ(window.At(planet, 1).Longitude(), p * 0.5 + 0.25 * 0.01);
    }
}

// Rows given as separations in degrees (negative: no position).
PositionWindow WindowOf(double prev, double now, double next) {
    PositionWindow w;
    const double base = 3.0;
    const double seps[3] = {prev, now, next};
    for (int k = 0; k < 3; ++k) {
        w.longitude[0][static_cast<std::size_t>(k)] =
            PositionResult::FromAnswer(seps[k] < 0 ? -99.0 : base);
        w.longitude[3][static_cast<std::size_t>(k)] = PositionResult::FromAnswer(
            seps[k] < 0 ? 1.0 : std::fmod(base + seps[k] * kDeg, 6.28318530717959));
    }
    return w;
}

struct TestCase {
    std::string name;
    double prev, now, next;  // separation in degrees of rows -1, 0, +1
    double aspect;           // degrees
    int orb;                 // degrees
    bool inPrev, inNow, enters, leaves, applying, separating;
};

TEST(PositionWindow, TransitTests) {
    const std::vector<TestCase> cases = {
        {"outside, moving in", 12, 11, 10.5, 0, 10, false, false, false, false, false, false},
        {"enters", 10.5, 9.5, 8.5, 0, 10, false, true, true, false, true, false},
        {"inside applying", 9.5, 8.5, 7.5, 0, 10, true, true, false, false, true, false},
        {"inside separating", 7.5, 8.5, 9.5, 0, 10, true, true, false, false, false, true},
        {"leaves", 9.5, 10.5, 11.5, 0, 10, true, false, false, true, false, false},
        {"stationary", 5, 5, 5, 0, 10, true, true, false, false, false, false},
        {"square from below", 84.5, 85.5, 86.5, 90, 5, false, true, true, false, true, false},
        {"square passing exact", 89.8, 90.1, 90.4, 90, 2, true, true, false, false, false, true},
        {"opposition near 180", 178.5, 179.5, 179.9, 180, 2, true, true, false, false, true, false},
        {"quincunx leaves", 146.5, 144.5, 143.5, 150, 5, true, false, false, true, false, false},
        // Separations beyond 180 degrees fold back: 190 is 170 the short way.
        {"folded opposition", 188.5, 189.5, 190.5, 180, 10, true, true, false, false, false, true},
        {"previous row missing", -1, 5, 4, 0, 10, false, true, true, false, true, false},
        {"current row missing", 5, -1, 4, 0, 10, true, false, false, true, false, false},
        {"next row missing", 6, 5, -1, 0, 10, true, true, false, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PairRows rows = PairRowsOf(WindowOf(c.prev, c.now, c.next), 1, 4);
        const double angle = c.aspect * kDeg;
        const double orb = InvestmentOrbRadians(c.orb);
        EXPECT_EQ(InOrbAt(rows, -1, angle, orb), c.inPrev);
        EXPECT_EQ(InOrbAt(rows, 0, angle, orb), c.inNow);
        EXPECT_EQ(EntersOrb(rows, angle, orb), c.enters);
        EXPECT_EQ(LeavesOrb(rows, angle, orb), c.leaves);
        EXPECT_EQ(ApplyingInOrb(rows, angle, orb), c.applying);
        EXPECT_EQ(SeparatingInOrb(rows, angle, orb), c.separating);
    }
}

// A deviation exactly equal to the orb is outside the orb (strict), yet
// counts for applying and separating (not strict).
TEST(PositionWindow, DeviationEqualToTheOrb) {
    const double orb = InvestmentOrbRadians(10);
    PairRows applying;
    applying.valid = {true, true, true};
    applying.separation = {orb + 0.01, orb, orb - 0.01};
    EXPECT_FALSE(InOrbAt(applying, 0, 0.0, orb));
    EXPECT_FALSE(EntersOrb(applying, 0.0, orb));
    EXPECT_TRUE(ApplyingInOrb(applying, 0.0, orb));
    PairRows separating = applying;
    separating.separation = {orb - 0.01, orb, orb + 0.01};
    EXPECT_TRUE(LeavesOrb(separating, 0.0, orb));
    EXPECT_TRUE(SeparatingInOrb(separating, 0.0, orb));
    EXPECT_FALSE(ApplyingInOrb(separating, 0.0, orb));
}

}  // namespace
}  // namespace vlt

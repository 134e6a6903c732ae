// The zero search on signals with known zeros (a dip below 0 far shorter
// than a step, the wrap's jump, a touch that is no crossing), and the
// finders' own rules on the program's positions: phases in their cycle,
// stations alternating, ingresses into the neighbouring sign, refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <stop_token>
#include <string>
#include <vector>

#include "app/engine/sky_events.h"
#include "tests/engine/sky_positions.h"

namespace vlt {
namespace {

constexpr double kMinute = 1.0 / 1440.0;

struct SignalCase {
    const char* name;
    std::function<double(double)> g;
    double period;
    double bound;
    std::vector<double> zeros;  // the known crossings
    std::vector<bool> rising;
};

// A dip 0.1 below 0 and two hours wide at day 5.3, inside a step of twelve
// days; a line through the wrap; a touch of 0 from above; two zeros 40
// minutes apart.
std::vector<SignalCase> SignalCases() {
    const double w = 1.0 / 24.0;
    return {
        {"dip",
         [](double t) { return 2.4 * std::fabs(t - 5.3) - 0.1; },
         360.0,
         2.5,
         {5.3 - w, 5.3 + w},
         {false, true}},
        {"line through the wrap",
         [](double t) { return std::remainder(7.0 * t - 10.0, 30.0); },
         30.0,
         7.5,
         {10.0 / 7, 40.0 / 7, 70.0 / 7},
         {true, true, true}},
        {"touch", [](double t) { return (t - 3.0) * (t - 3.0); }, 360.0, 20.0, {}, {}},
        {"close pair",
         [](double t) { return std::fabs(t - 2.5) - 20.0 * kMinute; },
         360.0,
         1.0,
         {2.5 - 20.0 * kMinute, 2.5 + 20.0 * kMinute},
         {false, true}},
    };
}

TEST(WrappedZeros, FindsEveryCrossingOfSignalsWithKnownZeros) {
    for (const SignalCase& c : SignalCases()) {
        const std::vector<Crossing> found = WrappedZeros(c.g, c.period, c.bound, {0.0, 12.0});
        ASSERT_EQ(found.size(), c.zeros.size()) << c.name;
        for (std::size_t k = 0; k < found.size(); ++k) {
            EXPECT_NEAR(found[k].jd, c.zeros[k], 1e-5) << c.name << " " << k;
            EXPECT_EQ(found[k].rising, c.rising[k]) << c.name << " " << k;
        }
    }
}

TEST(WrappedZeros, AStoppedSearchEndsEarly) {
    std::stop_source stop;
    int calls = 0;
    const auto g = [&](double t) {
        if (++calls == 10) stop.request_stop();
        return std::sin(t);
    };
    WrappedZeros(g, 360.0, 1.0, {0.0, 10000.0}, stop.get_token());
    EXPECT_LT(calls, 100);
}

class SkyEventFinders : public testing::SkyPositionsTest {
protected:
    static constexpr EventSpan kYears2020To2030{2458849.5, 2462502.5};
};

TEST_F(SkyEventFinders, PhasesFollowTheirCycleAboutAWeekApart) {
    const SkyEventList list = FindLunarPhases(kYears2020To2030);
    ASSERT_TRUE(list.failure.empty()) << list.failure;
    ASSERT_GT(list.events.size(), 480u);
    for (std::size_t k = 1; k < list.events.size(); ++k) {
        const SkyEvent& a = list.events[k - 1];
        const SkyEvent& b = list.events[k];
        EXPECT_EQ(static_cast<int>(*b.phase), (static_cast<int>(*a.phase) + 1) % 4) << b.jd;
        EXPECT_NEAR(b.jd - a.jd, 7.38, 1.0) << b.jd;
        EXPECT_NEAR(b.jd * 1440.0, std::round(b.jd * 1440.0), 1e-3) << "a whole minute";
    }
}

TEST_F(SkyEventFinders, StationsAlternateAndIngressesEnterANeighbouringSign) {
    for (Planet p : {Planet::Mercury, Planet::Mars, Planet::Saturn, Planet::Pluto}) {
        const SkyEventList stations = FindStations(p, kYears2020To2030);
        ASSERT_TRUE(stations.failure.empty()) << stations.failure;
        ASSERT_GT(stations.events.size(), 4u);
        for (std::size_t k = 1; k < stations.events.size(); ++k) {
            EXPECT_NE(*stations.events[k].motion, *stations.events[k - 1].motion)
                << static_cast<int>(p) << " " << stations.events[k].jd;
        }
    }
    for (Planet p : {Planet::Moon, Planet::Mercury, Planet::Mars, Planet::Pluto}) {
        const SkyEventList list = FindIngresses(p, kYears2020To2030);
        ASSERT_TRUE(list.failure.empty()) << list.failure;
        ASSERT_FALSE(list.events.empty());
        for (std::size_t k = 1; k < list.events.size(); ++k) {
            const SkyEvent& a = list.events[k - 1];
            const SkyEvent& b = list.events[k];
            // The sign left is the one entered before.
            const int left = *b.motion == Motion::Direct ? (*b.sign + 11) % 12 : (*b.sign + 1) % 12;
            EXPECT_EQ(left, *a.sign) << static_cast<int>(p) << " " << b.jd;
        }
    }
}

TEST_F(SkyEventFinders, RefusesBodiesWithoutStationsAndSpansOutsideTheData) {
    const struct {
        SkyEventList list;
        const char* message;
    } cases[] = {
        {FindStations(Planet::Moon, kYears2020To2030), "Moon has no stations"},
        {FindStations(Planet::Sun, kYears2020To2030), "Sun has no stations"},
        {FindStations(Planet::Pluto, {2488000.5, 2488069.5 + 2.0 * kMinute}),
         "End date is too late for Pluto."},
        {FindLunarPhases({2268923.5, 2269000.5}), "Start date is too early for"},
    };
    // The table's last day is a whole day of a period.
    EXPECT_EQ(FindStations(Planet::Pluto, {2487800.5, 2488069.5}).failure, "");
    for (const auto& c : cases) {
        EXPECT_NE(c.list.failure.find(c.message), std::string::npos) << c.list.failure;
        EXPECT_TRUE(c.list.events.empty());
    }
}

}  // namespace
}  // namespace vlt

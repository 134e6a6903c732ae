// The trades of a run and the uniform draws the statistics make: every
// value equally likely, from the standard's generator.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "app/simulation/simulation_stats.h"

namespace vlt {
namespace {

TEST(SimulationStats, CompletedTradesAreTheRedemptionsInOrder) {
    std::vector<SimulationEvent> events(3);
    events[0].kind = SimulationEvent::Kind::Investment;
    for (int i = 1; i < 3; ++i) {
        events[i].kind = SimulationEvent::Kind::Redemption;
        events[i].aspect = static_cast<Aspect>(i);
        events[i].orbDegrees = 10 / i;
        events[i].purchaseDay = 100 * i;
        events[i].day = 100 * i + 7;
        events[i].gain = 1.5 * i;
    }
    const std::vector<Trade> trades = CompletedTrades(events);
    ASSERT_EQ(trades.size(), 2u);
    EXPECT_EQ(trades[1].aspect, 2);
    EXPECT_EQ(trades[1].orbDegrees, 5);
    EXPECT_EQ(trades[1].buyDay, 200);
    EXPECT_EQ(trades[1].sellDay, 207);
    EXPECT_EQ(trades[1].gain, 3.0);
}

TEST(SimulationStats, UniformDrawsCoverTheRangeEvenly) {
    std::mt19937_64 g(5);
    const int n = 7;
    int counts[n] = {};
    const int draws = 70000;
    for (int i = 0; i < draws; ++i) ++counts[UniformBelow(g, n)];
    double chiSquare = 0;
    for (int c : counts) chiSquare += (c - draws / n) * (c - draws / n) / (draws / double(n));
    EXPECT_LT(chiSquare, 22.5);  // 6 degrees of freedom, p = 0.001
    // Near the top of the range nearly half of all draws are thrown away,
    // and what is kept stays below n.
    const std::uint64_t big = (std::uint64_t{1} << 63) + 1;
    for (int i = 0; i < 1000; ++i) EXPECT_LT(UniformBelow(g, big), big);
    EXPECT_EQ(UniformBelow(g, 1), 0u);
    // The generator is the standard's: its 10000th output from the default
    // seed is fixed by the C++ standard.
    std::mt19937_64 standard;
    standard.discard(9999);
    EXPECT_EQ(standard(), 9981545732273789042ull);
}

}  // namespace
}  // namespace vlt

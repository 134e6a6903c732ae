// The statistics of a run: counts and means from the trades, and a random
// baseline whose numbers follow from the seed alone and whose share behaves
// as a share should when the trades have nothing to do with the prices.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "app/simulation/simulation_stats.h"

namespace vlt {
namespace {

// Values by day over first..first + size - 1; none elsewhere.
class VectorLookup : public IndexLookup {
public:
    VectorLookup(std::int32_t first, std::vector<double> values)
        : first_(first), values_(std::move(values)) {}
    bool ValueForDay(std::int32_t day, double& value) override {
        const std::int64_t i = static_cast<std::int64_t>(day) - first_;
        if (i < 0 || i >= static_cast<std::int64_t>(values_.size())) return false;
        value = values_[static_cast<std::size_t>(i)];
        return value > 0;
    }

private:
    std::int32_t first_;
    std::vector<double> values_;
};

SimulationEvent Redemption(int aspect, int orb, std::int32_t buy, std::int32_t sell, double gain) {
    SimulationEvent e;
    e.kind = SimulationEvent::Kind::Redemption;
    e.aspect = aspect;
    e.orbDegrees = orb;
    e.purchaseDay = buy;
    e.day = sell;
    e.gain = gain;
    return e;
}

constexpr std::int32_t kStart = 2455000;

TEST(SimulationStats, CountsAndMeansOfEachPair) {
    VectorLookup flat(kStart, std::vector<double>(400, 10.0));
    SimulationEvent open;  // investments and cancellations are not trades
    open.aspect = 1;
    open.orbDegrees = 10;
    SimulationEvent cancelled = open;
    cancelled.kind = SimulationEvent::Kind::Cancellation;
    const std::vector<SimulationEvent> events = {
        open,
        Redemption(1, 10, kStart + 1, kStart + 11, 5.0),
        Redemption(1, 5, kStart + 2, kStart + 4, -1.5),
        Redemption(1, 10, kStart + 20, kStart + 50, -2.0),
        Redemption(1, 10, kStart + 60, kStart + 62, 0.0),
        cancelled,
    };
    const RunStatistics s =
        ComputeRunStatistics({{1, 10}, {1, 5}, {2, 10}}, events, flat, kStart, kStart + 399, 50, 1);
    ASSERT_EQ(s.pairs.size(), 3u);
    const PairStatistics& a = s.pairs[0];
    EXPECT_EQ(a.trades, 3);
    EXPECT_EQ(a.wins, 1);  // a gain of 0 is no win
    EXPECT_DOUBLE_EQ(a.totalGain, 3.0);
    EXPECT_DOUBLE_EQ(a.meanGain, 1.0);
    EXPECT_DOUBLE_EQ(a.meanHoldingDays, 14.0);
    // Flat prices: every random run gains nothing, and 3.0 beats all of them.
    EXPECT_DOUBLE_EQ(a.baselineMean, 0.0);
    EXPECT_DOUBLE_EQ(a.baselineStdDev, 0.0);
    EXPECT_DOUBLE_EQ(a.shareBeaten, 1.0);
    const PairStatistics& b = s.pairs[1];
    EXPECT_EQ(b.trades, 1);
    EXPECT_EQ(b.wins, 0);
    EXPECT_DOUBLE_EQ(b.meanGain, -1.5);
    EXPECT_DOUBLE_EQ(b.shareBeaten, 0.0);
    const PairStatistics& c = s.pairs[2];
    EXPECT_EQ(c.trades, 0);
    EXPECT_DOUBLE_EQ(c.meanGain, 0.0);
    EXPECT_DOUBLE_EQ(c.shareBeaten, 0.0);  // 0 does not beat 0
    EXPECT_TRUE(s.haveBuyAndHold);
    EXPECT_DOUBLE_EQ(s.buyAndHoldGain, 0.0);
}

TEST(SimulationStats, BaselineOfAStepSeriesMatchesItsExpectation) {
    // 100 before day D, 200 from D on: a random trade of h days gains 100
    // exactly when it starts in the h days before D, so its expected gain is
    // 100 h / (number of possible starts).
    const std::int32_t days = 1000;
    const std::int32_t change = kStart + 400;
    std::vector<double> values(static_cast<std::size_t>(days));
    for (std::int32_t d = 0; d < days; ++d)
        values[static_cast<std::size_t>(d)] = kStart + d < change ? 100 : 200;
    VectorLookup step(kStart, values);
    const std::vector<int> holding = {3, 10, 40};
    std::vector<SimulationEvent> events;
    double expected = 0.0;
    double variance = 0.0;
    for (int h : holding) {
        // The actual trades span the change: they gain 100 each.
        events.push_back(Redemption(4, 8, change - 1, change - 1 + h, 100.0));
        const double p = static_cast<double>(h) / (days - h);
        expected += 100 * p;
        variance += 100 * 100 * p * (1 - p);
    }
    const int trials = 20000;
    const RunStatistics s =
        ComputeRunStatistics({{4, 8}}, events, step, kStart, kStart + days - 1, trials, 7);
    const PairStatistics& p = s.pairs[0];
    EXPECT_NEAR(p.baselineMean, expected, 4 * std::sqrt(variance / trials));
    EXPECT_NEAR(p.baselineStdDev, std::sqrt(variance), 0.05 * std::sqrt(variance));
    // All three random trades would have to span the change to tie.
    EXPECT_GT(p.shareBeaten, 0.99);
    EXPECT_DOUBLE_EQ(s.buyAndHoldGain, 100.0);
}

TEST(SimulationStats, SameSeedSameNumbersOtherSeedOtherNumbers) {
    std::mt19937_64 walk(99);
    std::vector<double> values(700);
    double v = 100;
    for (double& x : values) {
        v *= 1 + (static_cast<double>(walk() % 2001) - 1000) / 50000;
        x = v;
    }
    VectorLookup series(kStart, values);
    const std::vector<SimulationEvent> events = {Redemption(2, 6, kStart + 10, kStart + 30, 1.0),
                                                 Redemption(2, 6, kStart + 100, kStart + 107, 2.0)};
    const auto run = [&](std::uint64_t seed) {
        return ComputeRunStatistics({{2, 6}, {3, 6}}, events, series, kStart, kStart + 699, 300,
                                    seed)
            .pairs[0];
    };
    const PairStatistics a = run(1);
    const PairStatistics again = run(1);
    const PairStatistics other = run(2);
    EXPECT_EQ(a.baselineMean, again.baselineMean);
    EXPECT_EQ(a.baselineStdDev, again.baselineStdDev);
    EXPECT_EQ(a.shareBeaten, again.shareBeaten);
    EXPECT_NE(a.baselineMean, other.baselineMean);
    EXPECT_NE(a.baselineStdDev, other.baselineStdDev);
    EXPECT_EQ(a.totalGain, other.totalGain);
    // A pair's numbers do not depend on which other pairs are asked for.
    const PairStatistics alone =
        ComputeRunStatistics({{2, 6}}, events, series, kStart, kStart + 699, 300, 1).pairs[0];
    EXPECT_EQ(alone.baselineMean, a.baselineMean);
}

TEST(SimulationStats, ShareIsUniformWhenTradesHaveNothingToDoWithPrices) {
    // Fixed trades on random-walk series: the actual result is one more draw
    // from the same distribution as the random runs, so over many series the
    // share is spread evenly over 0..1.
    const int series = 300;
    std::vector<double> shares;
    for (int k = 0; k < series; ++k) {
        std::mt19937_64 walk(1000 + k);
        std::vector<double> values(500);
        double v = 100;
        for (double& x : values) {
            v *= 1 + (static_cast<double>(walk() % 2001) - 1000) / 40000;
            x = v;
        }
        VectorLookup lookup(kStart, values);
        std::vector<SimulationEvent> events;
        for (const auto& [from, to] : {std::pair{20, 45}, {130, 160}, {300, 310}, {400, 470}}) {
            const double buy = values[static_cast<std::size_t>(from)];
            const double sell = values[static_cast<std::size_t>(to)];
            events.push_back(
                Redemption(1, 10, kStart + from, kStart + to, (sell - buy) * 100 / buy));
        }
        shares.push_back(ComputeRunStatistics({{1, 10}}, events, lookup, kStart, kStart + 499, 200,
                                              static_cast<std::uint64_t>(k))
                             .pairs[0]
                             .shareBeaten);
    }
    double mean = 0;
    int quarters[4] = {0, 0, 0, 0};
    for (double s : shares) {
        mean += s / series;
        ++quarters[std::min(3, static_cast<int>(s * 4))];
    }
    // Uniform: mean 0.5 with a standard error of 0.29 / sqrt(300) = 0.017;
    // each quarter holds 75 +- 7.5.
    EXPECT_NEAR(mean, 0.5, 0.07);
    for (int q : quarters) EXPECT_NEAR(q, series / 4, 30) << q;
}

TEST(SimulationStats, UniformDrawsCoverTheRangeEvenly) {
    std::mt19937_64 g = PairGenerator(5, 1, 10);
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

// The trades of an event backtest on constructed calendars, whose pairs are
// worked out by hand, and its statistics on synthetic markets: a planted rise
// between the open and close days is found, pure noise is not.

#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "app/simulation/event_backtest.h"

namespace vlt {
namespace {

constexpr std::int32_t kSaturday = 2451545;

// `n` days from a Saturday, priced 100 + day offset, weekends without trading.
DailyValues Weekdays(int n) {
    DailyValues v;
    v.firstDay = kSaturday;
    for (int i = 0; i < n; ++i) v.values.push_back(i % 7 < 2 ? 0.0 : 100.0 + i);
    return v;
}

struct PairingCase {
    const char* name;
    int days;
    std::vector<int> opens;  // offsets from the first Saturday
    std::vector<int> closes;
    int hold;
    std::vector<std::pair<int, int>> trades;  // buy, sell offsets
    int passedOver;
    bool openAtEnd;
};

// Day 2 is a Monday, 7 and 8 the next weekend.
const PairingCase kPairing[] = {
    {"a close before any open is ignored", 28, {3}, {1, 5}, 0, {{3, 5}}, 0, false},
    {"two opens before a close make one trade", 28, {3, 4}, {6}, 0, {{3, 6}}, 1, false},
    {"an open on a weekend buys on Monday", 28, {7}, {10}, 0, {{9, 10}}, 0, false},
    {"a close on a weekend sells on Monday", 28, {4}, {8}, 0, {{4, 9}}, 0, false},
    {"a close on the buying day waits for the next", 28, {3}, {3, 5}, 0, {{3, 5}}, 0, false},
    {"a new trade may start on the selling day", 28, {3, 5}, {5, 9}, 0, {{3, 5}, {5, 9}}, 0, false},
    {"a weekend open buys on the Monday a trade is sold",
     28,
     {3, 7},
     {8, 12},
     0,
     {{3, 9}, {9, 12}},
     0,
     false},
    {"the hold counts trading days over a weekend", 28, {5}, {}, 3, {{5, 10}}, 0, false},
    {"a hold across the end is not counted", 14, {3, 11}, {}, 4, {{3, 9}}, 0, true},
    {"a close after the end leaves the trade open", 14, {3, 10, 12}, {5}, 0, {{3, 5}}, 1, true},
    {"events outside the period play no part", 14, {-3, 3, 20}, {-1, 4, 30}, 0, {{3, 4}}, 0, false},
};

TEST(EventBacktest, TradesPairOpenAndCloseDaysAsTheRulesSay) {
    for (const PairingCase& c : kPairing) {
        const DailyValues prices = Weekdays(c.days);
        EventTradeRule rule;
        for (int d : c.opens) rule.openDays.push_back(kSaturday + d);
        for (int d : c.closes) rule.closeDays.push_back(kSaturday + d);
        rule.holdTradingDays = c.hold;
        const EventTrades got = PairEventTrades(prices, rule);
        ASSERT_EQ(got.trades.size(), c.trades.size()) << c.name;
        for (std::size_t i = 0; i < c.trades.size(); ++i) {
            const auto [buy, sell] = c.trades[i];
            EXPECT_EQ(got.trades[i].openDay, kSaturday + buy) << c.name;
            EXPECT_EQ(got.trades[i].closeDay, kSaturday + sell) << c.name;
            EXPECT_NEAR(got.trades[i].gain, (sell - buy) * 100.0 / (100.0 + buy), 1e-12) << c.name;
        }
        EXPECT_EQ(got.passedOver, c.passedOver) << c.name;
        EXPECT_EQ(got.openAtEnd, c.openAtEnd) << c.name;
    }
}

// Ten years of a random walk (1 % a day), opens every 20 to 40 days, closes
// five to fifteen days later; `drift` percent added on each day held.
struct Market {
    DailyValues prices;
    EventTradeRule rule;
};

Market SyntheticMarket(std::uint64_t seed, double drift) {
    std::mt19937_64 random(seed);
    std::normal_distribution<double> noise(0.0, 1.0);
    std::uniform_int_distribution<int> gap(20, 40);
    std::uniform_int_distribution<int> held(5, 15);
    Market m;
    m.prices.firstDay = kSaturday;
    std::vector<char> rising(3650, 0);
    for (int day = gap(random); day + 20 < 3650; day += gap(random)) {
        const int close = day + held(random);
        m.rule.openDays.push_back(kSaturday + day);
        m.rule.closeDays.push_back(kSaturday + close);
        for (int d = day + 1; d <= close + 3; ++d) rising[static_cast<std::size_t>(d)] = 1;
    }
    double price = 1000.0;
    for (int i = 0; i < 3650; ++i) {
        price *=
            1.0 + (noise(random) + (rising[static_cast<std::size_t>(i)] ? drift : 0.0)) / 100.0;
        m.prices.values.push_back(i % 7 < 2 ? 0.0 : price);
    }
    return m;
}

double PValue(const Market& m, int trials, std::uint64_t seed) {
    FamilyRequest request;
    request.prices = m.prices;
    request.trials = trials;
    request.seed = seed;
    FamilyCombination c;
    c.trades = PairEventTrades(m.prices, m.rule).trades;
    request.combinations.push_back(c);
    return ComputeFamilyStatistics(request).rows[0].p;
}

TEST(EventBacktest, APlantedRiseBetweenTheEventsIsFound) {
    const Market m = SyntheticMarket(7, 0.5);
    EXPECT_GT(PairEventTrades(m.prices, m.rule).trades.size(), 100u);
    EXPECT_LT(PValue(m, 999, 1), 0.01);
}

TEST(EventBacktest, PureNoiseIsSignificantAboutAsOftenAsChance) {
    int small = 0;
    double sum = 0.0;
    constexpr int kMarkets = 100;
    for (int s = 0; s < kMarkets; ++s) {
        const double p = PValue(SyntheticMarket(100 + s, 0.0), 199, s + 1);
        sum += p;
        if (p <= 0.05) ++small;
    }
    // Binomial(100, 0.05) exceeds 12 about once in a thousand.
    EXPECT_LE(small, 12);
    EXPECT_NEAR(sum / kMarkets, 0.5, 0.1);
}

}  // namespace
}  // namespace vlt

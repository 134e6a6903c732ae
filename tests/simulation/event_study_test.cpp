// The event study on series whose answer is known: planted jumps after the
// events, a weekend inside a window, events too near the ends, pure noise
// (the band covers no effect about as often as it claims), and a recount of
// the mean and median in a few lines.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "app/simulation/event_study.h"

namespace vlt {
namespace {

constexpr std::int32_t kFirstDay = 2451545;  // a Saturday

// `n` calendar days at 100, Saturdays and Sundays without trading.
DailyValues Flat(int n) {
    DailyValues v;
    v.firstDay = kFirstDay;
    for (int i = 0; i < n; ++i) v.values.push_back(i % 7 < 2 ? 0.0 : 100.0);
    return v;
}

// Multiplies every price from `day` on by 1 + percent / 100.
void Jump(DailyValues& v, std::int32_t day, double percent) {
    for (auto i = static_cast<std::size_t>(day - v.firstDay); i < v.values.size(); ++i) {
        v.values[i] *= 1.0 + percent / 100.0;
    }
}

TEST(EventStudy, PlantedJumpsStepTheMeanAndMedianByTheirMeanAndMedian) {
    EventStudyRequest r;
    r.prices = Flat(400);
    r.days = 4;
    r.trials = 200;
    // Events on Mondays; the jump comes with Tuesday's close (offset +1).
    const double jumps[] = {2.0, 4.0, 9.0};
    for (int e = 0; e < 3; ++e) {
        const std::int32_t monday = kFirstDay + 2 + 7 * (10 + 5 * e);
        r.eventDays.push_back(monday);
        Jump(r.prices, monday + 1, jumps[e]);
    }
    const EventStudyResult s = ComputeEventStudy(r);
    ASSERT_EQ(s.used.size(), 3u);
    EXPECT_EQ(s.leftOut, 0);
    ASSERT_EQ(s.offsets.size(), 9u);
    for (const EventOffset& o : s.offsets) {
        const bool after = o.offset >= 1;
        EXPECT_NEAR(o.mean, after ? 5.0 : 0.0, 1e-9) << o.offset;
        EXPECT_NEAR(o.median, after ? 4.0 : 0.0, 1e-9) << o.offset;
        // Before the jump every event's path is flat: no spread to resample.
        if (!after) {
            EXPECT_NEAR(o.upper - o.lower, 0.0, 1e-12) << o.offset;
        } else {
            EXPECT_TRUE(o.lower >= 2.0 - 1e-9 && o.upper <= 9.0 + 1e-9) << o.offset;
        }
    }
}

TEST(EventStudy, OffsetsCountTradingDaysAndAWeekendEventStartsOnMonday) {
    EventStudyRequest r;
    r.prices = Flat(200);
    r.days = 3;
    r.trials = 10;
    // A Saturday event is counted from Monday; Monday + 3 trading days is
    // Thursday, where the jump is planted.
    const std::int32_t saturday = kFirstDay + 7 * 8;
    r.eventDays = {saturday};
    Jump(r.prices, saturday + 5, 10.0);
    const EventStudyResult s = ComputeEventStudy(r);
    ASSERT_EQ(s.used, std::vector<std::int32_t>{saturday + 2});
    const double expected[] = {0, 0, 0, 0, 0, 0, 10.0};
    for (std::size_t k = 0; k < 7; ++k) EXPECT_NEAR(s.offsets[k].mean, expected[k], 1e-9) << k;
}

TEST(EventStudy, EventsWhoseWindowLeavesThePeriodAreLeftOutAndCounted) {
    EventStudyRequest r;
    r.prices = Flat(100);
    r.days = 5;
    r.trials = 10;
    // The 3rd trading day (too early), one in the middle, the last trading
    // day (too late), one before the period and one after it.
    r.eventDays = {kFirstDay + 4, kFirstDay + 51, kFirstDay + 97, kFirstDay - 30, kFirstDay + 400};
    const EventStudyResult s = ComputeEventStudy(r);
    EXPECT_EQ(s.used, std::vector<std::int32_t>{kFirstDay + 51});
    EXPECT_EQ(s.leftOut, 4);
    r.eventDays = {kFirstDay - 30};
    EXPECT_TRUE(ComputeEventStudy(r).offsets.empty());
}

TEST(EventStudy, MeanAndMedianAgreeWithARecount) {
    // Every day trades; three events, one day each side.
    EventStudyRequest r;
    r.prices.firstDay = 100;
    std::mt19937_64 g(5);
    std::uniform_real_distribution<double> price(50.0, 150.0);
    for (int i = 0; i < 40; ++i) r.prices.values.push_back(price(g));
    r.eventDays = {105, 120, 131, 133};
    r.days = 1;
    r.trials = 50;
    const EventStudyResult s = ComputeEventStudy(r);
    const auto& v = r.prices.values;
    for (int k = -1; k <= 1; ++k) {
        std::vector<double> c;
        for (int d : r.eventDays) c.push_back((v[d - 100 + k] / v[d - 100] - 1) * 100);
        std::sort(c.begin(), c.end());
        const double mean = (c[0] + c[1] + c[2] + c[3]) / 4, median = (c[1] + c[2]) / 2;
        EXPECT_NEAR(s.offsets[k + 1].mean, mean, 1e-9) << k;
        EXPECT_NEAR(s.offsets[k + 1].median, median, 1e-9) << k;
        EXPECT_LE(s.offsets[k + 1].lower, s.offsets[k + 1].upper);
        EXPECT_GE(s.offsets[k + 1].lower, c[0] - 1e-9);
        EXPECT_LE(s.offsets[k + 1].upper, c[3] + 1e-9);
    }
}

TEST(EventStudy, OnPureNoiseTheBandCoversNoEffectAboutAsOftenAsItClaims) {
    // 60 random walks with 80 random events each: at offsets -5 and +5 the
    // 90 % band should hold 0 in about 90 % of the 120 cases.
    std::mt19937_64 g(11);
    std::normal_distribution<double> step(0.0, 0.01);
    int covered = 0, cases = 0;
    for (int series = 0; series < 60; ++series) {
        EventStudyRequest r;
        r.prices.firstDay = 0;
        double value = 100.0;
        for (int i = 0; i < 2000; ++i) r.prices.values.push_back(value *= std::exp(step(g)));
        std::uniform_int_distribution<std::int32_t> day(10, 1989);
        for (int e = 0; e < 80; ++e) r.eventDays.push_back(day(g));
        r.days = 5;
        r.trials = 400;
        r.confidence = 0.90;
        r.seed = static_cast<std::uint64_t>(series) + 1;
        const EventStudyResult s = ComputeEventStudy(r);
        for (const std::size_t k : {std::size_t{0}, std::size_t{10}}) {
            covered += s.offsets[k].lower <= 0.0 && 0.0 <= s.offsets[k].upper;
            ++cases;
        }
    }
    // Binomial(120, 0.9): mean 108, sd 3.3; three of them either side.  A
    // band of the wrong width (or around the wrong centre) falls outside.
    EXPECT_GE(covered, 98);
    EXPECT_LE(covered, 118);
}

TEST(EventStudy, RefusesWhatCannotBeStudied) {
    struct Case {
        const char* name;
        int prices;
        int days;
        int trials;
        double confidence;
        const char* says;  // nullptr: accepted
    };
    const Case cases[] = {
        {"29 prices", 29, 10, 100, 0.95, "29 prices"},
        {"30 prices", 30, 10, 100, 0.95, nullptr},
        {"no days", 100, 0, 100, 0.95, "--days"},
        {"too many days", 100, kEventStudyMaxDays + 1, 100, 0.95, "--days"},
        {"no trials", 100, 10, 0, 0.95, "--trials"},
        {"certainty", 100, 10, 100, 1.0, "confidence"},
    };
    for (const Case& c : cases) {
        EventStudyRequest r;
        r.prices.values.assign(static_cast<std::size_t>(c.prices), 1.0);
        r.prices.values.insert(r.prices.values.begin(), 5, 0.0);  // days without trading
        r.days = c.days;
        r.trials = c.trials;
        r.confidence = c.confidence;
        const auto problem = EventStudyRequestProblem(r);
        ASSERT_EQ(problem.has_value(), c.says != nullptr) << c.name;
        if (c.says) {
            EXPECT_NE(problem->find(c.says), std::string::npos) << c.name << *problem;
        }
    }
}

}  // namespace
}  // namespace vlt

// The statistics of a family of combinations: p, the Romano-Wolf step-down
// and Benjamini-Hochberg q against recounts written here from their
// definitions; the record's running total; the
// fair comparisons on series whose answers are known in closed form; and a
// result that depends on the seed but not on the job count.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <vector>

#include "app/simulation/family_statistics.h"

namespace vlt {
namespace {

constexpr std::int32_t kStart = 2455000;

// p with +1, recounted: the trials at least as large as the observed.
double RecountP(double observed, const std::vector<double>& draws) {
    const auto n =
        std::count_if(draws.begin(), draws.end(), [&](double x) { return x >= observed; });
    return (static_cast<double>(n) + 1.0) / (static_cast<double>(draws.size()) + 1.0);
}

// Benjamini-Hochberg from its definition: the least p_j * m / rank_j over
// every j ranked at or after i.
std::vector<double> RecountQ(const std::vector<double>& p) {
    const std::size_t m = p.size();
    std::vector<double> q(m);
    for (std::size_t i = 0; i < m; ++i) {
        double best = 1.0;
        for (std::size_t j = 0; j < m; ++j) {
            const auto rank = static_cast<double>(std::count_if(
                                  p.begin(), p.end(), [&](double x) { return x < p[j]; })) +
                              1.0;
            // Ties take the highest of their ranks, as the step-up does.
            const auto tiedRank =
                rank + static_cast<double>(std::count(p.begin(), p.end(), p[j])) - 1.0;
            if (p[j] >= p[i]) best = std::min(best, p[j] * static_cast<double>(m) / tiedRank);
        }
        q[i] = best;
    }
    return q;
}

struct AdjustCase {
    const char* name;
    std::vector<double> observed;
    std::vector<std::vector<double>> trials;  // one row per trial
};

std::vector<double> Flatten(const AdjustCase& c) {
    std::vector<double> null;
    for (const auto& row : c.trials) null.insert(null.end(), row.begin(), row.end());
    return null;
}

const std::vector<AdjustCase> kAdjustCases = {
    {"one combination", {3.0}, {{1.0}, {4.0}, {3.0}, {-2.0}}},
    {"ties and a never-beaten one",
     {5.0, 0.0, 2.0},
     {{1.0, 0.0, 2.0}, {2.0, 1.0, 2.0}, {0.0, -1.0, 3.0}, {3.0, 0.0, 1.0}, {-1.0, 2.0, 0.0}}},
    {"four with differing spread",
     {10.0, 0.3, -4.0, 1.5},
     {{1.0, 0.1, -5.0, 0.2},
      {-3.0, 0.4, -1.0, 1.9},
      {4.0, -0.2, -6.0, -0.7},
      {12.0, 0.0, -3.0, 0.5},
      {-8.0, 0.2, -2.0, 1.1},
      {2.0, -0.5, -7.0, 0.9}}},
};

TEST(FamilyStatistics, PValuesAndQAgreeWithRecounts) {
    for (const AdjustCase& c : kAdjustCases) {
        SCOPED_TRACE(c.name);
        const int trials = static_cast<int>(c.trials.size());
        const std::vector<double> p = RawPValues(c.observed, Flatten(c), trials);
        const std::vector<double> q = BenjaminiHochbergQ(p);
        const std::vector<double> recountQ = RecountQ(p);
        for (std::size_t k = 0; k < c.observed.size(); ++k) {
            std::vector<double> draws;
            for (const auto& row : c.trials) draws.push_back(row[k]);
            EXPECT_DOUBLE_EQ(p[k], RecountP(c.observed[k], draws)) << k;
            EXPECT_DOUBLE_EQ(q[k], recountQ[k]) << k;
            EXPECT_GE(q[k], p[k]);
        }
    }
}

// Romano-Wolf step-down recounted from its definition: each statistic in
// standard deviations of its own null; the i-th most significant compared
// with the maximum over itself and all less significant ones; p made
// monotone down the order.
std::vector<double> RecountRomanoWolf(const AdjustCase& c) {
    const std::size_t m = c.observed.size();
    const double n = static_cast<double>(c.trials.size());
    std::vector<double> z(m);
    std::vector<std::vector<double>> zt(c.trials.size(), std::vector<double>(m));
    for (std::size_t k = 0; k < m; ++k) {
        double mean = 0, ss = 0;
        for (const auto& row : c.trials) mean += row[k] / n;
        for (const auto& row : c.trials) ss += (row[k] - mean) * (row[k] - mean);
        const double sd = ss > 0 ? std::sqrt(ss / (n - 1)) : 1.0;
        z[k] = (c.observed[k] - mean) / sd;
        for (std::size_t b = 0; b < c.trials.size(); ++b) zt[b][k] = (c.trials[b][k] - mean) / sd;
    }
    std::vector<std::size_t> order(m);
    for (std::size_t k = 0; k < m; ++k) order[k] = k;
    std::stable_sort(order.begin(), order.end(), [&](auto a, auto b) { return z[a] > z[b]; });
    std::vector<double> adjusted(m);
    double floor = 0;
    for (std::size_t i = 0; i < m; ++i) {
        int hits = 0;
        for (const auto& row : zt) {
            double mx = -1e300;
            for (std::size_t j = i; j < m; ++j) mx = std::max(mx, row[order[j]]);
            hits += mx >= z[order[i]] - 1e-12 ? 1 : 0;
        }
        floor = std::max(floor, (hits + 1) / (n + 1));
        adjusted[order[i]] = floor;
    }
    return adjusted;
}

TEST(FamilyStatistics, RomanoWolfAgreesWithARecount) {
    for (const AdjustCase& c : kAdjustCases) {
        SCOPED_TRACE(c.name);
        const int trials = static_cast<int>(c.trials.size());
        const std::vector<double> adjusted = RomanoWolfPValues(c.observed, Flatten(c), trials);
        const std::vector<double> p = RawPValues(c.observed, Flatten(c), trials);
        const std::vector<double> recount = RecountRomanoWolf(c);
        for (std::size_t k = 0; k < c.observed.size(); ++k) {
            EXPECT_DOUBLE_EQ(adjusted[k], recount[k]) << k;
            EXPECT_GE(adjusted[k], p[k]) << k;
        }
    }
}

// The step-down pays for the combinations only as far as they are
// different: copies of one combination cost nothing, independent ones cost
// about as Sidak says.
TEST(FamilyStatistics, RomanoWolfPaysOnlyForIndependentCombinations) {
    const int trials = 4000;
    std::mt19937_64 generator(7);
    std::normal_distribution<double> normal;
    std::vector<double> copies, independent;
    for (int b = 0; b < trials; ++b) {
        const double x = normal(generator);
        for (int k = 0; k < 3; ++k) copies.push_back(x);
        for (int k = 0; k < 3; ++k) independent.push_back(normal(generator));
    }
    const std::vector<double> observed = {1.6449, 0.0, -1.0};  // p about 0.05, 0.5, 0.84
    const std::vector<double> same = {1.6449, 1.6449, 1.6449};
    const std::vector<double> copiesP = RawPValues(same, copies, trials);
    const std::vector<double> copiesAdjusted = RomanoWolfPValues(same, copies, trials);
    for (int k = 0; k < 3; ++k) EXPECT_DOUBLE_EQ(copiesAdjusted[k], copiesP[k]);

    const std::vector<double> adjusted = RomanoWolfPValues(observed, independent, trials);
    const double sidak = 1.0 - std::pow(1.0 - 0.05, 3);  // 0.1426
    EXPECT_NEAR(adjusted[0], sidak, 0.02);
    EXPECT_GE(adjusted[1], adjusted[0]);
}

TEST(FamilyStatistics, RecordTotalRoundsEveryStepAsTheRecordDoes) {
    const struct {
        std::vector<double> gains;
        double total;
    } kCases[] = {
        {{1.004, 1.004, 1.004}, 3.00},      // the exact sum would show 3.01
        {{-1.006, -1.006, -1.006}, -3.03},  // exactly -3.018
        {{12345.678}, 12345.7},             // seven characters keep one decimal
        {{-99999.4, -1.0}, -100000},        // no decimal fits any more
        {{}, 0.0},
    };
    for (const auto& c : kCases) {
        std::vector<FamilyTrade> trades;
        for (double g : c.gains) trades.push_back({kStart, kStart + 1, g});
        EXPECT_DOUBLE_EQ(RecordTotal(trades), c.total);
    }
}

DailyValues Geometric(double rate, int days) {
    DailyValues d{kStart, {}};
    for (int i = 0; i < days; ++i) d.values.push_back(100.0 * std::pow(rate, i));
    return d;
}

FamilyTrade TradeOn(const DailyValues& d, int open, int close) {
    const auto& v = d.values;
    return {kStart + open, kStart + close,
            (v[static_cast<std::size_t>(close)] / v[static_cast<std::size_t>(open)] - 1) * 100};
}

// A market that moves at one rate every day: the trades' compounded return
// equals buy and hold over as many days, rising markets never draw down and a
// falling one draws down by its fall while held.
TEST(FamilyStatistics, FairComparisonsOnAMarketOfConstantRate) {
    for (const double rate : {1.001, 0.999}) {
        SCOPED_TRACE(rate);
        FamilyRequest request;
        request.prices = Geometric(rate, 1001);
        request.trials = 20;
        request.combinations.push_back(
            {3,
             4,
             true,
             1,
             5,
             {TradeOn(request.prices, 100, 200), TradeOn(request.prices, 500, 600)}});
        const FamilyResult result = ComputeFamilyStatistics(request);
        const FamilyRow& row = result.rows.at(0);
        const double held = std::pow(rate, 200) - 1;
        EXPECT_EQ(row.trades, 2);
        EXPECT_EQ(row.winners, rate > 1 ? 2 : 0);
        EXPECT_NEAR(row.meanHoldingDays, 100, 1e-12);
        EXPECT_NEAR(row.timeInMarket, 200.0 / 1001.0, 1e-12);
        EXPECT_NEAR(row.tradedReturn, held * 100, 1e-9);
        EXPECT_NEAR(row.matchedBuyAndHold, held * 100, 1e-9);
        EXPECT_NEAR(row.annualisedReturn, (std::pow(1 + held, 365.25 / 1000) - 1) * 100, 1e-9);
        EXPECT_NEAR(row.maxDrawdown, rate > 1 ? 0.0 : -held * 100, 1e-9);
        EXPECT_NEAR(result.buyAndHold, (std::pow(rate, 1000) - 1) * 100, 1e-9);
        EXPECT_FALSE(row.inFamily);  // two trades, fewer than five
        EXPECT_EQ(result.familySize, 0);
    }
}

std::vector<FamilyTrade> EveryNth(const DailyValues& d, int first, int step, int hold) {
    std::vector<FamilyTrade> trades;
    for (int open = first; open + hold < static_cast<int>(d.values.size()); open += step) {
        trades.push_back(TradeOn(d, open, open + hold));
    }
    return trades;
}

FamilyRequest WavyRequest() {
    FamilyRequest request;
    DailyValues& d = request.prices;
    d.firstDay = kStart;
    for (int i = 0; i < 900; ++i) d.values.push_back(100 + 10 * std::sin(i * 0.05) + 0.01 * i);
    d.values[300] = 0;  // a day without trading is valued by the next
    request.trials = 300;
    request.seed = 99;
    request.combinations = {{3, 4, true, 1, 5, EveryNth(d, 3, 40, 10)},
                            {3, 4, true, 1, 10, EveryNth(d, 1, 40, 14)},
                            {3, 4, true, 2, 5, EveryNth(d, 20, 97, 30)},
                            {3, 4, true, 3, 5, EveryNth(d, 20, 300, 30)}};
    return request;
}

TEST(FamilyStatistics, SameSeedSameResultForAnyJobCount) {
    FamilyRequest request = WavyRequest();
    const FamilyResult one = ComputeFamilyStatistics(request);
    EXPECT_EQ(one.familySize, 3);
    EXPECT_FALSE(one.rows[3].inFamily);  // three trades only
    for (const int jobs : {2, 3, 8}) {
        request.jobs = jobs;
        const FamilyResult many = ComputeFamilyStatistics(request);
        for (std::size_t k = 0; k < one.rows.size(); ++k) {
            EXPECT_EQ(many.rows[k].p, one.rows[k].p) << jobs;
            EXPECT_EQ(many.rows[k].pAdjusted, one.rows[k].pAdjusted) << jobs;
            EXPECT_EQ(many.rows[k].q, one.rows[k].q) << jobs;
        }
    }
    request.seed = 100;
    const FamilyResult other = ComputeFamilyStatistics(request);
    bool differs = false;
    for (std::size_t k = 0; k < 3; ++k) differs = differs || other.rows[k].p != one.rows[k].p;
    EXPECT_TRUE(differs);
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_GE(one.rows[k].p, 1.0 / 301);
        EXPECT_LE(one.rows[k].p, 1.0);
        EXPECT_GE(one.rows[k].pAdjusted, one.rows[k].p);
    }
}

TEST(FamilyStatistics, AFlatMarketNeverBeatsChance) {
    FamilyRequest request;
    request.prices = Geometric(1.0, 400);
    request.trials = 50;
    request.combinations = {{3, 4, true, 1, 5, EveryNth(request.prices, 0, 30, 7)}};
    const FamilyResult result = ComputeFamilyStatistics(request);
    ASSERT_EQ(result.familySize, 1);
    EXPECT_EQ(result.rows[0].p, 1.0);  // every trial ties
    EXPECT_EQ(result.rows[0].pAdjusted, 1.0);
}

TEST(FamilyStatistics, ProgressSeesEveryTrialAndCanStop) {
    FamilyRequest request = WavyRequest();
    request.jobs = 2;
    std::set<int> seen;
    request.progress = [&](int done, int total) {
        EXPECT_EQ(total, 300);
        seen.insert(done);
        return true;
    };
    EXPECT_FALSE(ComputeFamilyStatistics(request).cancelled);
    EXPECT_EQ(*seen.rbegin(), 300);
    request.progress = [](int done, int) { return done < 100; };
    EXPECT_TRUE(ComputeFamilyStatistics(request).cancelled);
}

TEST(FamilyStatistics, RequestsThatCannotBeJudged) {
    const struct {
        const char* name;
        void (*change)(FamilyRequest&);
    } kCases[] = {
        {"trials", [](FamilyRequest& r) { r.trials = 0; }},
        {"jobs", [](FamilyRequest& r) { r.jobs = 0; }},
        {"minimum", [](FamilyRequest& r) { r.minTrades = 0; }},
        {"one day", [](FamilyRequest& r) { r.prices.values.resize(1); }},
        {"no price",
         [](FamilyRequest& r) { std::fill(r.prices.values.begin(), r.prices.values.end(), 0.0); }},
    };
    EXPECT_FALSE(FamilyRequestProblem(WavyRequest()).has_value());
    for (const auto& c : kCases) {
        FamilyRequest request = WavyRequest();
        c.change(request);
        EXPECT_TRUE(FamilyRequestProblem(request).has_value()) << c.name;
        EXPECT_EQ(ComputeFamilyStatistics(request).familySize, 0) << c.name;
    }
}

}  // namespace
}  // namespace vlt

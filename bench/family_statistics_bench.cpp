// The family statistics at the two sizes they meet: one simulate --stats run
// (21 combinations of about eight trades, 2900 days) and a research family
// over 1950-2024 (90 pairs and centricities, seven aspects, three orbs: 1890
// combinations of about 60 trades each on a 27,000-day period), both with
// 1000 trials, on 1 and 2 threads.  The calendars and the market are
// synthetic (a random walk; trades of 2 to 40 days spread over the period),
// so the figures are the engine's alone, without the scans.

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "app/simulation/family_statistics.h"

namespace {

vlt::FamilyRequest Family(int combinations, int tradesEach, int days) {
    std::mt19937_64 generator(11);
    std::normal_distribution<double> step(0.0, 0.01);
    vlt::FamilyRequest request;
    request.prices.firstDay = 2433283;  // 1950-01-01
    double v = 100.0;
    for (int d = 0; d < days; ++d) {
        v *= std::exp(step(generator));
        // Weekends without a value, as in a daily-bar file.
        request.prices.values.push_back(d % 7 < 5 ? v : 0.0);
    }
    std::uniform_int_distribution<int> hold(2, 40);
    for (int k = 0; k < combinations; ++k) {
        vlt::FamilyCombination c{3, 4, k % 2 == 0, k % 7 + 1, 10, {}};
        const int spacing = days / tradesEach;
        for (int t = 0; t < tradesEach; ++t) {
            const int open = t * spacing + static_cast<int>(generator() % 10);
            const int close = std::min(open + hold(generator), days - 1);
            c.trades.push_back({request.prices.firstDay + open, request.prices.firstDay + close,
                                std::sin(open * 0.1)});
        }
        request.combinations.push_back(std::move(c));
    }
    request.trials = 1000;
    return request;
}

void BM_SimulateFamily(benchmark::State& state) {
    vlt::FamilyRequest request = Family(21, 8, 2920);
    request.jobs = static_cast<int>(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(vlt::ComputeFamilyStatistics(request));
}
BENCHMARK(BM_SimulateFamily)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ResearchFamily(benchmark::State& state) {
    vlt::FamilyRequest request = Family(1890, 60, 27028);
    request.jobs = static_cast<int>(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(vlt::ComputeFamilyStatistics(request));
}
BENCHMARK(BM_ResearchFamily)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same family with one trial: the counts and the fair comparisons, the
// part that does not grow with the trials.
void BM_ResearchFamilyOneTrial(benchmark::State& state) {
    vlt::FamilyRequest request = Family(1890, 60, 27028);
    request.trials = 1;
    for (auto _ : state) benchmark::DoNotOptimize(vlt::ComputeFamilyStatistics(request));
}
BENCHMARK(BM_ResearchFamilyOneTrial)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

// Research across all pairs at full size: 1950-01-02 to 2024-12-31 on a
// synthetic daily random walk of weekdays only (some 19,600 prices, as a
// daily index export has), all 36 pairs from both centres, seven aspects,
// three orbs (1,512 combinations), 1000 random-timing trials, on 1 and 2
// jobs.  The counters say where the time goes: the stages' wall seconds as
// the run's progress reports them.
//
// Run from the program's folder (the data files and tables are found beside
// the benchmark).

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <random>
#include <stop_token>
#include <string>

#include "app/positions/pluto_tables.h"
#include "app/positions/positions.h"
#include "app/simulation/research.h"
#include "bench/program_folder.h"
#include "tests/common/fake_run_host.h"

namespace {

using vlt::bench::ProgramFolder;

// A geometric random walk with a price on every weekday.
vlt::PriceSeries WeekdayWalk() {
    vlt::PriceSeries series;
    series.name = "random walk";
    std::mt19937_64 generator(1950);
    std::normal_distribution<double> step(0.0003, 0.01);
    double value = 100.0;
    const std::int32_t first = vlt::GregorianDayNumber(1950, 1, 2);
    const std::int32_t last = vlt::GregorianDayNumber(2024, 12, 31);
    for (std::int32_t d = first; d <= last; ++d) {
        // Julian day number + 1 modulo 7 is 0 on a Sunday.
        const int weekday = (d + 1) % 7;
        if (weekday == 0 || weekday == 6) continue;
        value *= std::exp(step(generator));
        series.days.push_back(d);
        series.values.push_back(value);
    }
    series.firstDay = series.days.front();
    series.lastDay = series.days.back();
    return series;
}

// The wall time at which each stage began.
class StageClock final : public vlt::ResearchObserver {
public:
    using Clock = std::chrono::steady_clock;
    StageClock() : start_(Clock::now()) {}
    void Progress(const vlt::ResearchProgress& p) override {
        const auto s = static_cast<std::size_t>(p.stage);
        if (!seen_[s]) {
            seen_[s] = true;
            began_[s] = Seconds();
        }
    }
    double Seconds() const { return std::chrono::duration<double>(Clock::now() - start_).count(); }
    // Seconds from the stage's start to the next's (or to `end`).
    double Stage(vlt::ResearchStage stage, double end) const {
        const auto s = static_cast<std::size_t>(stage);
        return seen_[s] ? (s + 1 < 4 && seen_[s + 1] ? began_[s + 1] : end) - began_[s] : 0.0;
    }

private:
    Clock::time_point start_;
    bool seen_[4] = {};
    double began_[4] = {};
};

void BM_ResearchAllPairs(benchmark::State& state) {
    static const bool ready = [] {
        vlt::InitPositionsWithFolder(ProgramFolder());
        vlt::testing::SilentBoxes boxes;
        return vlt::ReadPlutoData(boxes);
    }();
    if (!ready) {
        state.SkipWithError("the Pluto tables are not beside the benchmark");
        return;
    }
    vlt::ResearchRequest request;
    request.prices = WeekdayWalk();
    request.centres = vlt::ResearchCentres::Both;
    request.trials = 1000;
    request.jobs = static_cast<int>(state.range(0));
    for (auto _ : state) {
        StageClock clock;
        const vlt::ResearchResult result = vlt::RunResearch(request, clock, std::stop_token());
        const double end = clock.Seconds();
        if (result.status != vlt::ResearchStatus::Completed) {
            state.SkipWithError(result.error.c_str());
            return;
        }
        state.counters["positions_s"] = clock.Stage(vlt::ResearchStage::Positions, end);
        state.counters["scans_s"] = clock.Stage(vlt::ResearchStage::Scans, end);
        state.counters["trials_s"] = clock.Stage(vlt::ResearchStage::Trials, end);
        state.counters["combinations"] = result.combinations;
        state.counters["family"] = result.familySize;
        state.counters["prices"] = static_cast<double>(request.prices.days.size());
    }
}
BENCHMARK(BM_ResearchAllPairs)
    ->Arg(1)
    ->Arg(2)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

}  // namespace

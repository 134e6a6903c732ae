// What a simulation chart's random-timing band costs when the chart is
// opened: 200 trials over eight years of daily prices, seven aspects with
// the trades a run of Earth and Mars makes in such a period (some 60 each).
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "app/chart/chart_band.h"

namespace vlt {
namespace {

constexpr std::int32_t kFirst = 2454104;  // 2007-01-03
constexpr int kDays = 8 * 365;

DailyValues Walk() {
    DailyValues days{kFirst, {}};
    std::mt19937_64 generator(3);
    std::normal_distribution<double> step(0.0, 0.01);
    double value = 100.0;
    for (int d = 0; d < kDays; ++d) {
        value *= std::exp(step(generator));
        days.values.push_back(d % 7 >= 5 ? 0.0 : value);  // weekends without trading
    }
    return days;
}

std::vector<SimulationEvent> Trades(int perAspect) {
    std::vector<SimulationEvent> events;
    std::mt19937_64 generator(5);
    std::uniform_int_distribution<int> open(0, kDays - 80);
    std::uniform_int_distribution<int> hold(2, 70);
    for (int aspect = 1; aspect <= 7; ++aspect) {
        for (int k = 0; k < perAspect; ++k) {
            SimulationEvent e;
            e.kind = SimulationEvent::Kind::Redemption;
            e.aspect = static_cast<Aspect>(aspect);
            e.purchaseDay = kFirst + open(generator);
            e.day = e.purchaseDay + hold(generator);
            events.push_back(e);
        }
    }
    return events;
}

void BM_RandomTimingBand(benchmark::State& state) {
    const DailyValues prices = Walk();
    const std::vector<SimulationEvent> events = Trades(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(RandomTimingBand(events, prices));
}
BENCHMARK(BM_RandomTimingBand)->Arg(20)->Arg(60)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vlt

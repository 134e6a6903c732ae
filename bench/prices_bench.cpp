// Price files and run statistics: loading a file of 100 years of daily
// values (25,000 lines, in both layouts), and the statistics of the full
// Earth-Mars run 2007-01-03 to 2014-12-31 (21 aspect-orb pairs) with the
// random-timing baseline of 1000 trials.
//
// Run from the program's folder: the data files and the index file are found
// beside the benchmark.

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/positions/positions.h"
#include "app/simulation/family_statistics.h"
#include "app/simulation/investment_simulation.h"
#include "app/simulation/price_series.h"
#include "app/simulation/simulation_stats.h"
#include "app/simulation/simulation_text.h"
#include "app/support/date_processing.h"
#include "bench/program_folder.h"
#include "tests/common/fake_run_host.h"

namespace {

constexpr int kLines = 25000;

using vlt::bench::ProgramFolder;

// A daily-bar export of kLines trading days, or the index layout.
std::string WriteSeries(bool csv) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              (std::string("vlt-prices-bench-") + (csv ? "csv" : "txt") + "-" +
                               std::to_string(::getpid())))
                                 .string();
    std::ofstream out(path, std::ios::binary);
    if (csv) out << "Date,Open,High,Low,Close,Adj Close,Volume\r\n";
    std::int32_t day = vlt::GregorianDayNumber(1925, 1, 2);
    double value = 100.0;
    char line[160];
    for (int i = 0; i < kLines; ++i) {
        const std::string date = vlt::FormatDayNumber(day, vlt::kOrderYearMonthDay, "-", "", false);
        value *= 1.0 + ((i * 7919) % 201 - 100) / 10000.0;
        if (csv) {
            std::snprintf(line, sizeof line, "%s,%.2f,%.2f,%.2f,%.2f,%.4f,%d\r\n", date.c_str(),
                          value, value * 1.01, value * 0.99, value, value * 0.98, 1000000 + i);
        } else {
            std::snprintf(line, sizeof line, "%s,%.2f\r\n", date.c_str(), value);
        }
        out << line;
        day += (i % 5 == 4) ? 3 : 1;  // weekends left out
    }
    return path;
}

void LoadFile(benchmark::State& state, bool csv) {
    const std::string path = WriteSeries(csv);
    std::size_t days = 0;
    for (auto _ : state) {
        vlt::PriceSeries series;
        std::string error;
        if (!vlt::LoadPriceSeries(path, "Close", series, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        days = series.days.size();
        benchmark::DoNotOptimize(series.values.data());
    }
    state.counters["lines"] = static_cast<double>(days);
    std::remove(path.c_str());
}
void BM_LoadPriceFileCsv25000(benchmark::State& state) { LoadFile(state, true); }
void BM_LoadPriceFileIndexLayout25000(benchmark::State& state) { LoadFile(state, false); }
BENCHMARK(BM_LoadPriceFileCsv25000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadPriceFileIndexLayout25000)->Unit(benchmark::kMillisecond);

// A window that is never shown: no repaint, no events, every box answered
// at once.
struct HeadlessHost : vlt::testing::FakeRunHost {
    HeadlessHost() : FakeRunHost(vlt::RunKind::Simulation) { silentBoxes = true; }
};

void BM_StatisticsEarthMars1000Trials(benchmark::State& state) {
    vlt::InitPositionsWithFolder(ProgramFolder());
    vlt::PriceSeries prices;
    std::string error;
    if (!vlt::LoadPriceSeries(ProgramFolder() + "DJIA_data.txt", "Close", prices, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    vlt::PriceSeriesLookup lookup(prices);
    vlt::HelioEphemerisPositions positions;
    vlt::SeparatorAmountFormatter amounts;
    HeadlessHost host;
    vlt::SimulationTextSink text(host.Output(), amounts);
    vlt::InvestmentSimulation simulation(host, text, positions, lookup);
    vlt::SimulationRequest request;
    request.firstPlanetIndex = 0;
    request.secondPlanetIndex = 2;
    request.aspectChecked.fill(true);
    request.startDay = vlt::GregorianDayNumber(2007, 1, 3);
    request.endDay = vlt::GregorianDayNumber(2014, 12, 31);
    request.reportTitle = "Heliocentric transits for Earth and Mars";
    if (simulation.Click(request) != vlt::SimulationOutcome::Completed) {
        state.SkipWithError("run did not complete");
        return;
    }
    vlt::FamilyRequest family = vlt::SimulationFamilyRequest(simulation, lookup);
    family.trials = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const vlt::FamilyResult stats = vlt::ComputeFamilyStatistics(family);
        benchmark::DoNotOptimize(stats.rows.data());
    }
    state.counters["combinations"] = static_cast<double>(family.combinations.size());
    state.counters["trades"] =
        static_cast<double>(vlt::CompletedTrades(simulation.Events()).size());
}
BENCHMARK(BM_StatisticsEarthMars1000Trials)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

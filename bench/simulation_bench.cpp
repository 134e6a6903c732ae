// The full investment simulation Earth-Mars, all aspect types, orbs 10/5/2,
// 2007-01-03 to 2014-12-31 with details, headless; and the same position
// evaluations alone, so that the loop's own share can be told apart.
//
// Run from the program's folder (the data files and tables are found beside
// the benchmark); the index file is read from the project's data folder.

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "app/positions/pluto_tables.h"
#include "app/positions/positions.h"
#include "app/simulation/investment_simulation.h"
#include "app/simulation/simulation_text.h"
#include "bench/program_folder.h"
#include "tests/common/fake_run_host.h"

namespace {

constexpr std::int32_t kFirstDay = 2454104;
constexpr std::int32_t kLastDay = 2457023;

// A window that is never shown: no repaint, no events, every box answered
// at once.
struct HeadlessHost : vlt::testing::FakeRunHost {
    HeadlessHost() : FakeRunHost(vlt::RunKind::Simulation) { silentBoxes = true; }
};

using vlt::bench::ProgramFolder;

struct Setup {
    Setup() {
        vlt::InitPositionsWithFolder(ProgramFolder());
        vlt::testing::SilentBoxes boxes;
        plutoLoaded = vlt::ReadPlutoData(boxes);
        const std::string file = std::string(VLT_DATA_DIR) + "/DJIA_data.txt";
        indexPresent = std::ifstream(file).good();
        vlt::LoadIndexData(index, boxes, file);
    }
    vlt::IndexData index;
    bool plutoLoaded = false;
    bool indexPresent = false;
};

const Setup& Prepared() {
    static const Setup setup;
    return setup;
}

vlt::SimulationRequest FullRequest() {
    vlt::SimulationRequest request;
    request.firstPlanetIndex = 0;
    request.secondPlanetIndex = 2;
    request.aspectChecked.fill(true);
    request.orbIndex = {9, 4, 1};
    request.startDay = kFirstDay;
    request.endDay = kLastDay;
    request.includeDetails = true;
    request.reportTitle =
        "Heliocentric transits for Earth and Mars from January 3, 2007, to December 31, 2014";
    return request;
}

void BM_FullSimulation(benchmark::State& state) {
    const Setup& setup = Prepared();
    if (!setup.indexPresent) {
        state.SkipWithError("index file not found");
        return;
    }
    vlt::HelioEphemerisPositions positions;
    vlt::IndexDataLookup index(setup.index);
    vlt::SeparatorAmountFormatter amounts;
    std::size_t outputBytes = 0;
    for (auto _ : state) {
        HeadlessHost host;
        vlt::SimulationTextSink text(host.Output(), amounts);
        vlt::InvestmentSimulation simulation(host, text, positions, index);
        const auto outcome = simulation.Click(FullRequest());
        if (outcome != vlt::SimulationOutcome::Completed) {
            state.SkipWithError("run did not complete");
            return;
        }
        outputBytes = host.output.text.size();
        benchmark::DoNotOptimize(outputBytes);
    }
    state.counters["steps"] = (kLastDay - kFirstDay) * 8 + 5;
    state.counters["output_bytes"] = static_cast<double>(outputBytes);
    state.counters["pluto_tables"] = setup.plutoLoaded ? 1 : 0;
}
BENCHMARK(BM_FullSimulation)->Unit(benchmark::kMillisecond);

// Exactly the evaluations the run makes: nine planets at three instants at
// the first step, then nine at t + step for every later step.
void BM_FullSimulationPositionsOnly(benchmark::State& state) {
    Prepared();
    vlt::HelioEphemerisPositions positions;
    const int lastStep = (kLastDay - kFirstDay) * 8 + 4;
    for (auto _ : state) {
        double sum = 0.0;
        const double first = kFirstDay - 0.25;
        for (std::int16_t p = 1; p <= 9; ++p) {
            for (int k = -1; k <= 1; ++k)
                sum += positions.Position(p, first + k * 0.125).Longitude();
        }
        for (int step = 1; step <= lastStep; ++step) {
            const double t = first + step * 0.125;
            for (std::int16_t p = 1; p <= 9; ++p)
                sum += positions.Position(p, t + 0.125).Longitude();
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["evaluations"] = 27 + 9.0 * lastStep;
}
BENCHMARK(BM_FullSimulationPositionsOnly)->Unit(benchmark::kMillisecond);

// The run's own work: the same run with every longitude looked up from a
// table filled beforehand with the ephemeris's values at the same instants.
class TabulatedPositions : public vlt::HelioPositionSource {
public:
    TabulatedPositions() : lastStep_((kLastDay - kFirstDay) * 8 + 4) {
        for (std::int16_t p = 1; p <= 9; ++p) {
            auto& column = table_[static_cast<std::size_t>(p - 1)];
            for (int k = -1; k <= lastStep_ + 1; ++k) {
                column.push_back(vlt::PlanetLongitude(p, kFirstDay - 0.25 + k * 0.125, true));
            }
        }
    }
    double HelioLongitude(std::int16_t planet, double jd) override {
        const auto k = static_cast<std::size_t>(std::lround((jd - (kFirstDay - 0.25)) * 8.0) + 1);
        return table_[static_cast<std::size_t>(planet - 1)][k];
    }

private:
    int lastStep_;
    std::array<std::vector<double>, 9> table_;
};

void BM_FullSimulationTabulatedPositions(benchmark::State& state) {
    const Setup& setup = Prepared();
    if (!setup.indexPresent) {
        state.SkipWithError("index file not found");
        return;
    }
    TabulatedPositions positions;
    vlt::IndexDataLookup index(setup.index);
    vlt::SeparatorAmountFormatter amounts;
    for (auto _ : state) {
        HeadlessHost host;
        vlt::SimulationTextSink text(host.Output(), amounts);
        vlt::InvestmentSimulation simulation(host, text, positions, index);
        if (simulation.Click(FullRequest()) != vlt::SimulationOutcome::Completed) {
            state.SkipWithError("run did not complete");
            return;
        }
        benchmark::DoNotOptimize(host.output.text.size());
    }
}
BENCHMARK(BM_FullSimulationTabulatedPositions)->Unit(benchmark::kMillisecond);

}  // namespace

// Positions in the main program.
//
//   positions_bench [--benchmark_filter=...]
//
// The first benchmark loads both Pluto tables in a fresh process and reports
// the resident memory the tables added (rss_added_MB, measured once, before
// any other benchmark has touched the heap).

#include <benchmark/benchmark.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "app/positions/pluto_tables.h"
#include "app/positions/positions.h"
#include "app/support/message_box.h"

namespace {

class SilentBoxes : public vlt::MessageBoxes {
public:
    vlt::MsgResult Show(const std::string& text, const std::string&, vlt::MsgButtons,
                        vlt::MsgIcon) override {
        std::fprintf(stderr, "%s\n", text.c_str());
        return vlt::MsgResult::Ok;
    }
};

bool HasDataFiles(const std::string& folder) {
    struct stat st {};
    return ::stat((folder + "pluto.slx").c_str(), &st) == 0 &&
           ::stat((folder + "jupiter.dac").c_str(), &st) == 0;
}

// Data folder: the program's own (as at start-up), else the source tree's.
bool Setup() {
    static int ready = -1;
    if (ready < 0) {
        vlt::InitPositions();
        if (!HasDataFiles(vlt::DataFolder())) vlt::InitPositionsWithFolder(VLT_SOURCE_DATA_DIR);
        ready = HasDataFiles(vlt::DataFolder()) ? 1 : 0;
    }
    return ready == 1;
}

double ResidentMegabytes() {
    long pages = 0;
    long resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) /
           (1024.0 * 1024.0);
}

void BM_ReadPlutoData(benchmark::State& state) {
    if (!Setup()) {
        state.SkipWithError("data files not found");
        return;
    }
    SilentBoxes boxes;
    // The framework calls this function more than once; only the first load
    // in the process shows what the tables add to the resident memory.
    static double added = -1;
    bool ok = true;
    if (added < 0) {
        vlt::ResetPlutoTables();
        const double before = ResidentMegabytes();
        ok = vlt::ReadPlutoData(boxes);
        added = ResidentMegabytes() - before;
    }
    for (auto _ : state) {
        vlt::ResetPlutoTables();
        ok = vlt::ReadPlutoData(boxes);
        benchmark::DoNotOptimize(ok);
    }
    if (!ok) state.SkipWithError("Pluto tables not read");
    state.counters["rss_added_MB"] = added;
    state.counters["entries"] = vlt::GeoPlutoEntryCount() + vlt::HelioPlutoEntryCount();
}
BENCHMARK(BM_ReadPlutoData)->Unit(benchmark::kMillisecond);

// Steps through 1900-2100 by an irregular stride so that no two calls see the
// same record or table entry in a row.
constexpr double kFirst = 2415020.5;
constexpr double kSpan = 73049.0;
constexpr double kStride = 17.123456;

void EnsurePluto() {
    if (vlt::GeoPlutoEntryCount() == 0) {
        SilentBoxes boxes;
        vlt::ReadPlutoData(boxes);
    }
}

void BM_PlanetLongitude(benchmark::State& state) {
    if (!Setup()) {
        state.SkipWithError("data files not found");
        return;
    }
    EnsurePluto();
    const auto planet = static_cast<std::int16_t>(state.range(0));
    const bool helio = state.range(1) != 0;
    double t = 0;
    for (auto _ : state) {
        const double l = vlt::PlanetLongitude(planet, kFirst + t, helio);
        benchmark::DoNotOptimize(l);
        t += kStride;
        if (t > kSpan) t -= kSpan;
    }
    state.SetLabel(helio ? "heliocentric" : "geocentric");
}
BENCHMARK(BM_PlanetLongitude)
    ->ArgsProduct({benchmark::CreateDenseRange(1, 9, 1), {0, 1}})
    ->ArgNames({"planet", "helio"});

void BM_IsRetrograde(benchmark::State& state) {
    if (!Setup()) {
        state.SkipWithError("data files not found");
        return;
    }
    EnsurePluto();
    const auto planet = static_cast<std::int16_t>(state.range(0));
    double t = 0;
    for (auto _ : state) {
        const bool r = vlt::IsRetrograde(planet, kFirst + t);
        benchmark::DoNotOptimize(r);
        t += kStride;
        if (t > kSpan) t -= kSpan;
    }
}
BENCHMARK(BM_IsRetrograde)->DenseRange(2, 9, 1)->ArgName("planet");

}  // namespace

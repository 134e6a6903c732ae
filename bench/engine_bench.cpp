// Time of whole transit scans with the program's positions, the share of it
// spent in position evaluations, and evaluations per time step.
//
// The scan's own share is measured by running the same scan again with the
// answers of its position requests played back from a recording: what is left
// is the time the scan spends beyond its position evaluations.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/engine/transit_commands.h"
#include "app/engine/transit_scan.h"
#include "app/positions/pluto_tables.h"
#include "app/positions/positions.h"
#include "app/positions/vocabulary.h"
#include "app/support/date_processing.h"
#include "tests/common/fake_run_host.h"
#ifdef VLT_SWE_EPHE_DIR
#include "bench/swe_transit_finder.h"
#endif

namespace {

using namespace vlt;

// Answers every box with No/OK.
class QuietBoxes final : public MessageBoxes {
public:
    MsgResult Show(const std::string&, const std::string&, MsgButtons buttons, MsgIcon) override {
        return buttons == MsgButtons::Ok ? MsgResult::Ok : MsgResult::No;
    }
};

// Keeps the report's size but never lets the box fill up.
class HeadlessOutput final : public OutputBox {
public:
    const std::string& Text() const override { return shown_; }
    void Append(const std::string& piece) override {
        bytes += piece.size();
        if (shown_.empty()) shown_.push_back('x');
    }
    void Clear() override { shown_.clear(); }
    void MoveCaretToEnd() override {}
    void Refresh() override {}
    std::size_t bytes = 0;

private:
    std::string shown_;
};

class HeadlessHost final : public vlt::testing::FakeRunHost {
public:
    HeadlessHost() { captionStore = startCaption = "pair"; }
    // The longest time between two yields to the event loop (one step, with
    // its searches) and between two progress reports, wall clock.
    void YieldToEvents() override { Lap(lastYield, longestStepNanos); }
    void ReportProgress(double) override { Lap(lastProgress, longestProgressNanos); }
    void StartWatch() {
        lastYield = lastProgress = Now();
        longestStepNanos = longestProgressNanos = 0;
    }
    static long long Now() {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    static void Lap(long long& last, long long& longest) {
        const long long now = Now();
        if (last != 0) longest = std::max(longest, now - last);
        last = now;
    }
    long long lastYield = 0, lastProgress = 0;
    long long longestStepNanos = 0, longestProgressNanos = 0;
    OutputBox& Output() override { return out; }
    MessageBoxes& Boxes() override { return boxes; }

    HeadlessOutput out;
    QuietBoxes boxes;
};

// The Sun (first planet) with every planet of the second list.
ShowAllRequest SunWithEveryPlanet(vlt::CalendarDate start, vlt::CalendarDate end) {
    ShowAllRequest r;
    r.firstPlanet = kSun;
    r.secondPlanet = kMercury;
    r.start = start;
    r.end = end;
    r.keepFirst = true;
    return r;
}

// Counts and records the position requests of a scan with their answers.
class RecordingPositions final : public PositionSource {
public:
    struct Call {
        std::int16_t planet;
        double jd;
        bool heliocentric;
        bool retrograde;
        double answer;
    };
    double Longitude(std::int16_t planet, double jd, bool heliocentric) override {
        ++longitudes;
        const double v = PlanetLongitude(planet, jd, heliocentric);
        if (recording) calls.push_back({planet, jd, heliocentric, false, v});
        return v;
    }
    bool IsRetrograde(std::int16_t planet, double jd) override {
        ++retrogradeTests;
        const bool r = vlt::IsRetrograde(planet, jd);
        if (recording) calls.push_back({planet, jd, false, true, r ? 1.0 : 0.0});
        return r;
    }
    bool FollowsMotionBounds() const override { return true; }
    std::vector<Call> calls;
    bool recording = true;
    long long longitudes = 0, retrogradeTests = 0;
};

// Gives back the recorded answers in order: the same scan again, with
// positions that cost next to nothing, is the scan's own work.
class PlaybackPositions final : public PositionSource {
public:
    explicit PlaybackPositions(const std::vector<RecordingPositions::Call>& calls)
        : calls_(calls) {}
    double Longitude(std::int16_t, double, bool) override {
        return calls_[next_++ % calls_.size()].answer;
    }
    bool IsRetrograde(std::int16_t, double) override {
        return calls_[next_++ % calls_.size()].answer != 0.0;
    }
    // The recorded answers are the program's own positions, in the order
    // the same scan asks for them.
    bool FollowsMotionBounds() const override { return true; }
    void Rewind() { next_ = 0; }

private:
    const std::vector<RecordingPositions::Call>& calls_;
    std::size_t next_ = 0;
};

// Processor time of this process, seconds: the machine's other load does not
// count, so the runs compare fairly.
double CpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

bool Setup() {
    static bool ok = [] {
        std::stringstream dirs(VLT_ENGINE_DATA_DIRS);
        std::string dir;
        while (std::getline(dirs, dir, '|')) {
            if (std::filesystem::exists(dir + "jupiter.dac")) {
                InitPositionsWithFolder(dir);
                QuietBoxes boxes;
                ReadPlutoData(boxes);
                return true;
            }
        }
        return false;
    }();
    return ok;
}

std::int32_t Day(int y, int m, int d) {
    DateRecord r{y, m, d, kCalendarGregorian, 0, 0};
    return DateToDayNumber(r);
}

// walk: the searches for exact minima walk every minute (the reference);
// otherwise the quick search.  fixedStep: the scan evaluates every step of
// its grid (the reference); otherwise it jumps over the steps without
// events.
void ScanPair(benchmark::State& state, std::int16_t first, std::int16_t second, bool helio,
              std::int32_t start, std::int32_t end, bool walk = false, bool fixedStep = false) {
    if (!Setup()) {
        state.SkipWithError("outer-planet data files not found");
        return;
    }
    TransitRequest r;
    r.firstPlanet = first;
    r.secondPlanet = second;
    r.heliocentric = helio;
    for (int a = 1; a <= 7; ++a) r.aspectEnabled[static_cast<std::size_t>(a)] = true;
    r.orbDegrees = {10, 5, 2};
    r.startDay = start;
    r.endDay = end;
    r.reportTitle = "benchmark";
    CompleteRequest(r);

    RecordingPositions positions;
    HeadlessHost host;
    TransitScanner scanner(host, positions);
    scanner.SetMinuteByMinuteSearch(walk);
    scanner.SetFixedStepScan(fixedStep);
    long searches = 0;
    scanner.SetExactMinimumObserver([&searches](double, int) { ++searches; });
    double seconds = 0;
    int runs = 0;
    for (auto _ : state) {
        positions.calls.clear();
        positions.longitudes = positions.retrogradeTests = 0;
        positions.recording = false;
        searches = 0;
        host.StartWatch();
        const double t0 = CpuSeconds();
        scanner.TransitScan(r);
        seconds += CpuSeconds() - t0;
        ++runs;
    }
    const double steps = (end - start + 0.5) / ScanStep(first, second) + 1;
    state.counters["steps"] = steps;
    state.counters["longitudes_per_step"] = static_cast<double>(positions.longitudes) / steps;
    state.counters["searches"] = static_cast<double>(searches);
    state.counters["cpu_s"] = seconds / runs;
    // The window's own longitudes on the fixed steps: three per planet on the
    // first step, one on each later one.
    if (fixedStep && searches > 0) {
        state.counters["longitudes_per_search"] =
            (static_cast<double>(positions.longitudes) - 2.0 * (steps + 2)) /
            static_cast<double>(searches);
    }
    state.counters["longest_step_ms"] = static_cast<double>(host.longestStepNanos) * 1e-6;
    state.counters["longest_progress_gap_ms"] =
        static_cast<double>(host.longestProgressNanos) * 1e-6;
    state.counters["retro_tests_per_step"] = static_cast<double>(positions.retrogradeTests) / steps;
    if (walk) return;  // the scan's own share is the same work either way
    // One more, recorded, for the replay.
    positions.recording = true;
    positions.longitudes = positions.retrogradeTests = 0;
    host.out.bytes = 0;
    scanner.TransitScan(r);
    const double reportBytes = static_cast<double>(host.out.bytes);
    // The scan's own work: the same scan with recorded answers.
    PlaybackPositions playback(positions.calls);
    TransitScanner replayed(host, playback);
    replayed.SetFixedStepScan(fixedStep);
    const int repeats = 5;
    const double o0 = CpuSeconds();
    for (int i = 0; i < repeats; ++i) {
        playback.Rewind();
        replayed.TransitScan(r);
    }
    const double own = (CpuSeconds() - o0) / repeats;
    state.counters["scan_own_share"] = own / (seconds / runs);
    state.counters["report_kB"] = reportBytes / 1024.0;
}

void BM_JupiterSaturn1600To2799(benchmark::State& state) {
    ScanPair(state, kJupiter, kSaturn, false, Day(1600, 1, 1), Day(2799, 12, 31));
}
void BM_JupiterSaturn1600To2799Walk(benchmark::State& state) {
    ScanPair(state, kJupiter, kSaturn, false, Day(1600, 1, 1), Day(2799, 12, 31), true);
}
void BM_JupiterSaturn1600To2799FixedStep(benchmark::State& state) {
    ScanPair(state, kJupiter, kSaturn, false, Day(1600, 1, 1), Day(2799, 12, 31), false, true);
}
void BM_MarsJupiter1900To2100(benchmark::State& state) {
    ScanPair(state, kMars, kJupiter, false, Day(1900, 1, 1), Day(2100, 12, 31));
}
void BM_MarsJupiter1900To2100FixedStep(benchmark::State& state) {
    ScanPair(state, kMars, kJupiter, false, Day(1900, 1, 1), Day(2100, 12, 31), false, true);
}
void BM_MercuryVenus1900To2000(benchmark::State& state) {
    ScanPair(state, kMercury, kVenus, false, Day(1900, 1, 1), Day(2000, 12, 31));
}
void BM_MercuryVenus1900To2000FixedStep(benchmark::State& state) {
    ScanPair(state, kMercury, kVenus, false, Day(1900, 1, 1), Day(2000, 12, 31), false, true);
}

// Show all for the Sun (first planet) with every planet of the second list.
void ShowAllSun(benchmark::State& state, bool walk, bool fixedStep = false) {
    if (!Setup()) {
        state.SkipWithError("outer-planet data files not found");
        return;
    }
    RecordingPositions positions;
    positions.recording = false;
    HeadlessHost host;
    const ShowAllRequest request = SunWithEveryPlanet({1950, 1, 1}, {2049, 12, 31});
    TransitCommands commands(host, positions);
    commands.Scanner().SetMinuteByMinuteSearch(walk);
    commands.Scanner().SetFixedStepScan(fixedStep);
    long searches = 0;
    commands.Scanner().SetExactMinimumObserver([&searches](double, int) { ++searches; });
    double seconds = 0;
    for (auto _ : state) {
        positions.longitudes = positions.retrogradeTests = 0;
        host.out.bytes = 0;
        searches = 0;
        host.StartWatch();
        const double t0 = CpuSeconds();
        commands.ShowAll(request);
        seconds = CpuSeconds() - t0;
    }
    state.counters["cpu_s"] = seconds;
    state.counters["longitudes"] = static_cast<double>(positions.longitudes);
    state.counters["searches"] = static_cast<double>(searches);
    state.counters["report_kB"] = static_cast<double>(host.out.bytes) / 1024.0;
    state.counters["longest_step_ms"] = static_cast<double>(host.longestStepNanos) * 1e-6;
    state.counters["longest_progress_gap_ms"] =
        static_cast<double>(host.longestProgressNanos) * 1e-6;
    if (walk) return;
    positions.recording = true;
    positions.calls.clear();
    const double t0 = CpuSeconds();
    commands.ShowAll(request);
    const double run = CpuSeconds() - t0;
    PlaybackPositions playback(positions.calls);
    TransitCommands replayed(host, playback);
    replayed.Scanner().SetFixedStepScan(fixedStep);
    const double o0 = CpuSeconds();
    replayed.ShowAll(request);
    state.counters["scan_own_share"] = (CpuSeconds() - o0) / run;
}

void BM_ShowAllSun1950To2049(benchmark::State& state) { ShowAllSun(state, false); }
void BM_ShowAllSun1950To2049Walk(benchmark::State& state) { ShowAllSun(state, true); }
void BM_ShowAllSun1950To2049FixedStep(benchmark::State& state) { ShowAllSun(state, false, true); }

#ifdef VLT_SWE_EPHE_DIR
// The yardstick: the plain finder on the Swiss Ephemeris over the same
// periods, orbs 10/5/2, all seven aspects.
double JulianDay0h(int y, int m, int d) { return Day(y, m, d) - 0.5; }

void Yardstick(benchmark::State& state, const std::vector<std::pair<int, int>>& pairs, double from,
               double to) {
    vlt::bench::OpenYardstickEphemeris();
    const double orbs[3] = {10, 5, 2};
    vlt::bench::YardstickCounts total;
    double seconds = 0;
    for (auto _ : state) {
        total = {};
        const double t0 = CpuSeconds();
        for (const auto& [a, b] : pairs) {
            const auto c = vlt::bench::FindTransits(vlt::bench::YardstickBody(a),
                                                    vlt::bench::YardstickBody(b), from, to, orbs);
            total.longitudes += c.longitudes;
            total.orbEvents += c.orbEvents;
            total.exactAspects += c.exactAspects;
        }
        seconds = CpuSeconds() - t0;
    }
    state.counters["longitudes"] = static_cast<double>(total.longitudes);
    state.counters["cpu_s"] = seconds;
    state.counters["orb_events"] = static_cast<double>(total.orbEvents);
    state.counters["exact_aspects"] = static_cast<double>(total.exactAspects);
}

void BM_YardstickJupiterSaturn1600To2799(benchmark::State& state) {
    Yardstick(state, {{kJupiter, kSaturn}}, JulianDay0h(1600, 1, 1), JulianDay0h(2799, 12, 31) + 1);
}
void BM_YardstickShowAllSun1950To2049(benchmark::State& state) {
    std::vector<std::pair<int, int>> pairs;
    for (int p = kMercury; p <= kPluto; ++p) pairs.emplace_back(kSun, p);
    Yardstick(state, pairs, JulianDay0h(1950, 1, 1), JulianDay0h(2049, 12, 31) + 1);
}
void BM_YardstickMarsJupiter1900To2100(benchmark::State& state) {
    Yardstick(state, {{kMars, kJupiter}}, JulianDay0h(1900, 1, 1), JulianDay0h(2100, 12, 31) + 1);
}
void BM_YardstickMercuryVenus1900To2000(benchmark::State& state) {
    Yardstick(state, {{kMercury, kVenus}}, JulianDay0h(1900, 1, 1), JulianDay0h(2000, 12, 31) + 1);
}
BENCHMARK(BM_YardstickJupiterSaturn1600To2799)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_YardstickMarsJupiter1900To2100)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_YardstickMercuryVenus1900To2000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_YardstickShowAllSun1950To2049)->Unit(benchmark::kMillisecond)->Iterations(1);
#endif

// Old (every minute walked) and new search side by side.
BENCHMARK(BM_JupiterSaturn1600To2799Walk)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_JupiterSaturn1600To2799)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ShowAllSun1950To2049Walk)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ShowAllSun1950To2049)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_MarsJupiter1900To2100)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MercuryVenus1900To2000)->Unit(benchmark::kMillisecond)->Iterations(3);
// The scan evaluating every step of its grid: the reference for the jumps.
BENCHMARK(BM_JupiterSaturn1600To2799FixedStep)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ShowAllSun1950To2049FixedStep)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_MarsJupiter1900To2100FixedStep)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_MercuryVenus1900To2000FixedStep)->Unit(benchmark::kMillisecond)->Iterations(1);

// The Moon's 45-minute steps, every one evaluated: a year of the pair that
// makes the lunar phases.
void BM_SunMoon2025(benchmark::State& state) {
    ScanPair(state, kSun, kMoon, false, Day(2025, 1, 1), Day(2025, 12, 31));
}
BENCHMARK(BM_SunMoon2025)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

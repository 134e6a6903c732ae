// Cost of one call of each operation of the positions library, next to the
// cost of one sin so that a series body can be judged by its count of sines
// and cosines (Sun 100, Mercury 58, Venus 37, Mars 102).
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "planets/include/planets_vlt.h"
#include "planets/src/planets_internal.h"
#include "tests/planets/dac_file_writer.h"

namespace {

// Dates spread over 1900-2100: the inputs change every call, so nothing can
// be folded or hoisted out of the loop.
const std::vector<double>& dates() {
    static const std::vector<double> jds = [] {
        std::mt19937_64 rng(7);
        std::uniform_real_distribution<double> pick(2415020.5, 2488069.5);
        std::vector<double> v(1024);
        for (double& jd : v) jd = pick(rng);
        return v;
    }();
    return jds;
}

// Arguments like those of the series terms over 1900-2100 (phase plus
// frequency times U, up to a few thousand radians).
const std::vector<double>& series_arguments() {
    static const std::vector<double> args = [] {
        std::mt19937_64 rng(11);
        std::uniform_real_distribution<double> u(-0.01, 0.01);
        std::uniform_real_distribution<double> nu(0.0, 400000.0);
        std::vector<double> v(1024);
        for (double& a : v) a = 3.0 + nu(rng) * u(rng);
        return v;
    }();
    return args;
}

const std::vector<double>& circle_arguments() {
    static const std::vector<double> args = [] {
        std::mt19937_64 rng(13);
        std::uniform_real_distribution<double> a(0.0, 6.283185307179586);
        std::vector<double> v(1024);
        for (double& x : v) x = a(rng);
        return v;
    }();
    return args;
}

void BM_sin_series_argument(benchmark::State& state) {
    const auto& a = series_arguments();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(std::sin(a[i++ & 1023]));
    }
}
BENCHMARK(BM_sin_series_argument);

void BM_sin_circle_argument(benchmark::State& state) {
    const auto& a = circle_arguments();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(std::sin(a[i++ & 1023]));
    }
}
BENCHMARK(BM_sin_circle_argument);

template <double (*F)(double, double*, double*)>
void BM_planet_series(benchmark::State& state) {
    const auto& d = dates();
    std::size_t i = 0;
    double lat = 0.0, rv = 0.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(F(d[i++ & 1023], &lat, &rv));
        benchmark::DoNotOptimize(lat);
        benchmark::DoNotOptimize(rv);
    }
}
BENCHMARK(BM_planet_series<pvlt::mercury_long_lat_rv>)->Name("BM_mercury_long_lat_rv");
BENCHMARK(BM_planet_series<pvlt::venus_long_lat_rv>)->Name("BM_venus_long_lat_rv");
BENCHMARK(BM_planet_series<pvlt::mars_long_lat_rv>)->Name("BM_mars_long_lat_rv");

template <double (*F)(double, double*)>
void BM_sun(benchmark::State& state) {
    const auto& d = dates();
    std::size_t i = 0;
    double rv = 0.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(F(d[i++ & 1023], &rv));
        benchmark::DoNotOptimize(rv);
    }
}
BENCHMARK(BM_sun<pvlt::sun_long_rv>)->Name("BM_sun_long_rv");
BENCHMARK(BM_sun<pvlt::sun_app_long_rv>)->Name("BM_sun_app_long_rv");

void BM_helio_to_geo(benchmark::State& state) {
    const auto& a = circle_arguments();
    std::size_t i = 0;
    double lat = 0.0, rv = 0.0;
    for (auto _ : state) {
        const double l = a[i & 1023];
        const double ls = a[(i + 1) & 1023];
        ++i;
        benchmark::DoNotOptimize(pvlt::helio_to_geo(ls, 0.99, l, 0.02, 1.5, &lat, &rv));
        benchmark::DoNotOptimize(lat);
        benchmark::DoNotOptimize(rv);
    }
}
BENCHMARK(BM_helio_to_geo);

void BM_app_correction(benchmark::State& state) {
    const auto& d = dates();
    std::size_t i = 0;
    for (auto _ : state) {
        const double jd = d[i++ & 1023];
        benchmark::DoNotOptimize(pvlt::app_correction(jd, static_cast<int>(i % 9), 1.0));
    }
}
BENCHMARK(BM_app_correction);

// The data-file bodies: a full-size synthetic Jupiter file in a temporary
// folder (every call opens, reads one record and closes the file).
class DacFixture {
public:
    DacFixture() : folder_("bench") {
        planets_test::write_numbered_file(folder_.path() / "jupiter.dac", -4000, 1360);
        set_datafiles_folder(folder_.text().c_str());
    }

private:
    planets_test::TempFolder folder_;
};

void BM_dac_long_lat_rv(benchmark::State& state) {
    static DacFixture fixture;
    std::size_t i = 0;
    double lat = 0.0, rv = 0.0;
    for (auto _ : state) {
        const int year = 1900 + static_cast<int>(i++ % 200);
        // A date inside the record the year chooses, as a real caller passes it.
        const double jd = planets_test::numbered_record(-4000, (year + 4000) / 5).t0;
        benchmark::DoNotOptimize(
            pvlt::dac_long_lat_rv(jd, year, -4000, 2800, "jupiter.dac", &lat, &rv));
    }
}
BENCHMARK(BM_dac_long_lat_rv);

void BM_gc_app_long_rv_planet(benchmark::State& state) {
    static DacFixture fixture;
    const int planet = static_cast<int>(state.range(0));
    const auto& d = dates();
    std::size_t i = 0;
    double rv = 0.0;
    // The synthetic Jupiter file's record for 2000 is centred on its own
    // origin: the dates are moved into that record's span.
    std::vector<double> jds(d.begin(), d.end());
    if (planet >= 5) {
        const double t0 = planets_test::numbered_record(-4000, 1200).t0;
        for (double& jd : jds) jd = t0 + std::fmod(jd, 1800.0) - 900.0;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(gc_app_long_rv_planet(planet, jds[i++ & 1023], 2000, &rv));
    }
}
BENCHMARK(BM_gc_app_long_rv_planet)->Arg(0)->Arg(1)->Arg(2)->Arg(4)->Arg(5);

void BM_hc_j2000_long_rv_planet(benchmark::State& state) {
    static DacFixture fixture;
    const int planet = static_cast<int>(state.range(0));
    const auto& d = dates();
    std::size_t i = 0;
    double rv = 0.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(hc_j2000_long_rv_planet(planet, d[i++ & 1023], 2000, &rv));
    }
}
BENCHMARK(BM_hc_j2000_long_rv_planet)->Arg(0)->Arg(1)->Arg(2)->Arg(4)->Arg(5);

}  // namespace

namespace {

// As a transit scan calls it: one date after another, three hours apart.
void BM_gc_app_long_rv_planet_scan(benchmark::State& state) {
    static DacFixture fixture;
    const int planet = static_cast<int>(state.range(0));
    double jd = 2451545.0;
    double rv = 0.0;
    for (auto _ : state) {
        jd += 0.125;
        if (jd > 2488069.5) jd = 2415020.5;
        benchmark::DoNotOptimize(gc_app_long_rv_planet(planet, jd, 2000, &rv));
    }
}
BENCHMARK(BM_gc_app_long_rv_planet_scan)->Arg(0)->Arg(1)->Arg(2)->Arg(4);

}  // namespace

namespace {

// The Moon from the committed moon.chb (each call opens the file, reads one
// 119-byte record and closes it), on one thread and on two at once: the
// library keeps its buffers per thread, so the threads do not wait for each
// other (CPU time per call stays flat while calls per second add up).
void BM_gc_app_long_rv_moon(benchmark::State& state) {
    set_datafiles_folder(VLT_DATA_DIR "/");
    const auto& d = dates();
    std::size_t i = static_cast<std::size_t>(state.thread_index()) * 97;
    double rv = 0.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(gc_app_long_rv_planet(10, d[i++ & 1023], 2000, &rv));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_gc_app_long_rv_moon)->Threads(1)->Threads(2)->UseRealTime();

}  // namespace

// The dispatch shared by scans on several threads: the same longitudes as on
// one thread, and the first data-file failure recorded whole.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "app/positions/pluto_tables.h"
#include "app/positions/position_failure.h"
#include "app/positions/positions.h"
#include "tests/positions/test_support.h"

namespace {

using namespace vlt;

constexpr int kThreads = 4;

// Runs body(t) on four threads at once.
template <class Body>
void on_threads(Body body) {
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) threads.emplace_back(body, t);
    for (std::thread& thread : threads) thread.join();
}

// Every program body but the Moon, both centricities, 1600-2099 (the
// geocentric Pluto table's span), longitudes and the retrograde flags.
TEST(DispatchOnThreads, ScansSideBySideGiveTheOneThreadLongitudes) {
    vlt_test::RecordingBoxes boxes;
    InitPositionsWithFolder(std::string(VLT_DATA_DIR) + "/");
    ASSERT_TRUE(ReadPlutoData(boxes));
    constexpr int kSteps = 4000;
    const auto jd_of = [](int i) { return 2305448.5 + i * 45.6789; };
    std::vector<double> one(kSteps * 18);
    std::vector<double> many(one.size());
    const auto fill = [&jd_of](std::vector<double>& out, int i) {
        for (std::int16_t planet = 1; planet <= 9; ++planet) {
            const std::size_t k = static_cast<std::size_t>(i) * 18 + (planet - 1) * 2;
            out[k] = PlanetLongitude(planet, jd_of(i), planet % 2 == 0);
            out[k + 1] = IsRetrograde(planet, jd_of(i)) ? 1.0 : 0.0;
        }
    };
    for (int i = 0; i < kSteps; ++i) fill(one, i);
    on_threads([&](int t) {
        for (int i = t; i < kSteps; i += kThreads) fill(many, i);
    });
    int longitudes = 0;
    for (std::size_t k = 0; k < one.size(); k += 2) longitudes += one[k] >= 0.0 ? 1 : 0;
    EXPECT_GT(longitudes, kSteps * 8);
    EXPECT_EQ(std::memcmp(one.data(), many.data(), one.size() * sizeof(double)), 0);
    ResetPlutoTables();
}

TEST(DispatchOnThreads, FailuresFromSeveralThreadsKeepOneWholeMessage) {
    vlt_test::ScratchFolder empty;
    ResetPlutoTables();
    InitPositionsWithFolder(empty.Path());
    ClearPositionFailure();
    on_threads([](int t) {
        for (int i = 0; i < 200; ++i) PlanetLongitude(6, 2451545.0 + t * 1000 + i, false);
    });
    ASSERT_TRUE(FirstPositionFailure().has_value());
    EXPECT_EQ(FirstPositionFailure()->Message(),
              "Cannot read the data file saturn.dac: " + std::string(std::strerror(ENOENT)) + ".");
    ClearPositionFailure();
}

}  // namespace

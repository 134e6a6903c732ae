#pragma once
// The transit results of the golden reports' requests, run as the golden
// test runs them (the window's inputs, the shipped data): for tests that
// start from what a scan found rather than from its text.

#include <cstdint>
#include <string>

#include "app/engine/transit_commands.h"
#include "app/positions/positions.h"
#include "tests/engine/fake_host.h"

namespace vlt::testing {

struct GoldenScan {
    bool heliocentric = false;
    int firstIndex = 0;  // planet list positions
    int secondIndex = 0;
    std::int32_t start = 0;
    std::int32_t end = 0;
};

inline TransitResults ScanResults(const GoldenScan& g) {
    InitPositionsWithFolder(std::string(VLT_SOURCE_DIR) + "/data/");
    FakeRunHost host;
    FakeWindow window;
    window.first = g.firstIndex;
    window.second = g.secondIndex;
    window.inputs.heliocentric = g.heliocentric;
    window.day[0] = g.start;
    window.day[1] = g.end;
    host.captionStore = host.startCaption = "report";
    TransitCommands commands(host);
    commands.Start(window.Tables());
    return commands.Scanner().Results();
}

// The two golden tables' requests.
inline constexpr GoldenScan kGeocentricMercuryVenus2024{false, 1, 1, 2460311, 2460676};
inline constexpr GoldenScan kHeliocentricEarthMars2020To2023{true, 0, 2, 2458850, 2460310};

}  // namespace vlt::testing

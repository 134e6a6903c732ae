#pragma once
// In-memory data sources of an investment simulation: a position source built
// from a separation curve over the run's steps, and an index of chosen values.
// The run host is the tests' shared fake.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/simulation/investment_simulation.h"
#include "app/support/run_host.h"
#include "tests/common/fake_run_host.h"

namespace vlt::testing {

// Earth fixed at a base longitude, the second planet at base + separation,
// the separation a function of the step index (t = startDay - 0.25 + i / 8,
// so row -1 of the first step is i = -1).  Other planets have no position.
class CurvePositions : public HelioPositionSource {
public:
    CurvePositions(std::int32_t startDay, std::int16_t secondPlanet,
                   std::function<double(double)> separationDegrees)
        : firstT_(startDay - 0.25), second_(secondPlanet), curve_(std::move(separationDegrees)) {}

    double HelioLongitude(std::int16_t planet, double jd) override {
        ++calls;
        const double step = (jd - firstT_) * 8.0;
        if (invalidFirstPlanetAt && invalidFirstPlanetAt(step)) return -99.0;
        if (planet == 1) return kBase;
        if (planet != second_) return -999.0;
        double longitude = kBase + curve_(step) / 360.0 * 6.28318530717959;
        while (longitude >= 6.28318530717959) longitude -= 6.28318530717959;
        while (longitude < 0) longitude += 6.28318530717959;
        return longitude;
    }

    static constexpr double kBase = 1.0;
    int calls = 0;
    // Steps at which the Earth has no position.
    std::function<bool(double)> invalidFirstPlanetAt;

private:
    double firstT_;
    std::int16_t second_;
    std::function<double(double)> curve_;
};

// Index values by day; days not listed give `fallback` (0 or below: none).
class MapIndex : public IndexLookup {
public:
    explicit MapIndex(double fallback = 1000.0) : fallback_(fallback) {}
    bool ValueForDay(std::int32_t day, double& value) override {
        ++lookups;
        const auto it = values.find(day);
        const double v = it != values.end() ? it->second : fallback_;
        if (!(v > 0.0)) return false;
        value = v;
        return true;
    }
    std::map<std::int32_t, double> values;
    int lookups = 0;

private:
    double fallback_;
};

// Splits the output box text at CR LF.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (true) {
        const auto at = text.find("\r\n", from);
        if (at == std::string::npos) {
            lines.push_back(text.substr(from));
            break;
        }
        lines.push_back(text.substr(from, at - from));
        from = at + 2;
    }
    return lines;
}

}  // namespace vlt::testing

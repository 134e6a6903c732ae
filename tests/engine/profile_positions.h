#pragma once
// Constructed positions: one anchor planet stays at longitude 0, every other
// planet lies at a separation (in degrees, 0..180) that follows a piecewise
// linear profile of the Julian date.  The retrograde answer comes from a
// predicate of the universal time.  Every request is logged.

#include <cmath>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "app/engine/position_source.h"

namespace vlt::testing {

inline constexpr double kPi = 3.14159265358979323846;

class ProfilePositions final : public PositionSource {
public:
    // knots: (Julian date, separation degrees), ascending dates; constant
    // beyond the first and last knot.
    ProfilePositions(std::int16_t anchor, std::vector<std::pair<double, double>> knots)
        : anchor_(anchor), knots_(std::move(knots)) {}

    double SeparationDegrees(double jd) const {
        if (separation) return separation(jd);
        if (jd <= knots_.front().first) return knots_.front().second;
        for (std::size_t i = 1; i < knots_.size(); ++i) {
            if (jd <= knots_[i].first) {
                const auto [t0, d0] = knots_[i - 1];
                const auto [t1, d1] = knots_[i];
                return d0 + (d1 - d0) * (jd - t0) / (t1 - t0);
            }
        }
        return knots_.back().second;
    }

    double Longitude(std::int16_t planet, double jd, bool heliocentric) override {
        calls.push_back({planet, jd});
        lastHeliocentric = heliocentric;
        if (failBefore > 0 && jd < failBefore) return -99.0;
        if (planet == anchor_) return 0.0;
        return SeparationDegrees(jd) * kPi / 180.0;
    }
    bool IsRetrograde(std::int16_t planet, double jd) override {
        retrogradeQueries.push_back({planet, jd});
        return retrograde ? retrograde(jd) : false;
    }

    std::function<double(double)> separation;  // overrides the knots when set
    std::function<bool(double)> retrograde;
    double failBefore = 0;  // -99 for every request before this date
    std::vector<std::pair<std::int16_t, double>> calls;
    std::vector<std::pair<std::int16_t, double>> retrogradeQueries;
    bool lastHeliocentric = false;

private:
    std::int16_t anchor_;
    std::vector<std::pair<double, double>> knots_;
};

}  // namespace vlt::testing

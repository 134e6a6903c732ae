#include "app/simulation/position_window.h"

#include <cmath>

#include "app/positions/positions.h"

namespace vlt {

double HelioEphemerisPositions::HelioLongitude(std::int16_t planet, double jd) {
    return PlanetLongitude(planet, jd, true);
}

double CentredEphemerisPositions::HelioLongitude(std::int16_t planet, double jd) {
    return PlanetLongitude(planet, jd, heliocentric_);
}

void FillPositionWindow(PositionWindow& window, HelioPositionSource& source, double t, double step,
                        bool first) {
    for (std::int16_t planet = 1; planet <= kWindowPlanets; ++planet) {
        auto& rows = window.longitude[static_cast<std::size_t>(planet - 1)];
        if (first) {
            for (int k = -1; k <= 1; ++k) {
                rows[static_cast<std::size_t>(k + 1)] = source.Position(planet, t + k * step);
            }
        } else {
            rows[0] = rows[1];
            rows[1] = rows[2];
            rows[2] = source.Position(planet, t + step);
        }
    }
}

PairRows PairRowsOf(const PositionWindow& window, std::int16_t firstPlanet,
                    std::int16_t secondPlanet) {
    PairRows rows;
    for (int k = -1; k <= 1; ++k) {
        const auto index = static_cast<std::size_t>(k + 1);
        const PositionResult& a = window.At(firstPlanet, k);
        const PositionResult& b = window.At(secondPlanet, k);
        rows.valid[index] = a.HasLongitude() && b.HasLongitude();
        if (rows.valid[index]) {
            std::int16_t direction = 0;  // not needed here
            rows.separation[index] = AngularSeparation(a.Longitude(), b.Longitude(), direction);
        }
    }
    return rows;
}

namespace {

double Deviation(const PairRows& rows, int row, double aspectAngle) {
    return std::fabs(rows.separation[static_cast<std::size_t>(row + 1)] - aspectAngle);
}

bool Valid(const PairRows& rows, int row) { return rows.valid[static_cast<std::size_t>(row + 1)]; }

}  // namespace

bool InOrbAt(const PairRows& rows, int row, double aspectAngle, double orb) {
    return Valid(rows, row) && Deviation(rows, row, aspectAngle) < orb;
}

bool EntersOrb(const PairRows& rows, double aspectAngle, double orb) {
    return !InOrbAt(rows, -1, aspectAngle, orb) && InOrbAt(rows, 0, aspectAngle, orb);
}

bool LeavesOrb(const PairRows& rows, double aspectAngle, double orb) {
    return InOrbAt(rows, -1, aspectAngle, orb) && !InOrbAt(rows, 0, aspectAngle, orb);
}

bool ApplyingInOrb(const PairRows& rows, double aspectAngle, double orb) {
    if (!Valid(rows, 0) || !Valid(rows, 1)) return false;
    const double now = Deviation(rows, 0, aspectAngle);
    return now <= orb && Deviation(rows, 1, aspectAngle) < now;
}

bool SeparatingInOrb(const PairRows& rows, double aspectAngle, double orb) {
    if (!Valid(rows, 0) || !Valid(rows, 1)) return false;
    const double now = Deviation(rows, 0, aspectAngle);
    return now <= orb && Deviation(rows, 1, aspectAngle) > now;
}

double InvestmentOrbRadians(int degrees) { return static_cast<double>(degrees) / 360.0 * kTwoPi; }

}  // namespace vlt

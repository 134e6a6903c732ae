#pragma once
// Heliocentric longitudes of planets 1 to 9 at three consecutive time steps
// of the investment simulation, and the transit tests that look at them.

#include <array>
#include <cstdint>

#include "app/positions/position_failure.h"

namespace vlt {

// Where the simulation gets its positions.  The program uses the ephemeris;
// tests drive the simulation with constructed longitudes.
class HelioPositionSource {
public:
    virtual ~HelioPositionSource() = default;
    // A longitude in radians, or why there is none.
    PositionResult Position(std::int16_t planet, double jd) {
        return PositionResult::FromAnswer(HelioLongitude(planet, jd));
    }

private:
    // The source's own answer: radians in [0, 2π), or a negative code as the
    // positions library gives it.  Read only through Position.
    virtual double HelioLongitude(std::int16_t planet, double jd) = 0;
};

// The program's heliocentric longitudes (`PlanetLongitude` with heliocentric
// set): the library's series and data files, Pluto from its table.
class HelioEphemerisPositions : public HelioPositionSource {
private:
    double HelioLongitude(std::int16_t planet, double jd) override;
};

// The same from either centre: vlt-report simulates from the Earth too.
class CentredEphemerisPositions : public HelioPositionSource {
public:
    explicit CentredEphemerisPositions(bool heliocentric) : heliocentric_(heliocentric) {}
    // The window turns the centre as its centricity buttons say.
    void SetHeliocentric(bool heliocentric) { heliocentric_ = heliocentric; }

private:
    double HelioLongitude(std::int16_t planet, double jd) override;
    bool heliocentric_;
};

inline constexpr std::int16_t kWindowPlanets = 9;

// Rows -1 (previous step), 0 (current step) and +1 (next step).
struct PositionWindow {
    std::array<std::array<PositionResult, 3>, kWindowPlanets> longitude{};  // [planet - 1][row + 1]

    const PositionResult& At(std::int16_t planet, int row) const {
        return longitude[static_cast<std::size_t>(planet - 1)][static_cast<std::size_t>(row + 1)];
    }
};

// At the first step every planet's three rows are computed at t - step, t
// and t + step (planets in the outer loop); at later steps the rows move up
// and only row +1 is computed, at t + step.  All nine planets every step.
void FillPositionWindow(PositionWindow& window, HelioPositionSource& source, double t, double step,
                        bool first);

// The angular separations of one planet pair in the three rows; a row is
// valid when both planets have a longitude.
struct PairRows {
    std::array<bool, 3> valid{};
    std::array<double, 3> separation{};
};

PairRows PairRowsOf(const PositionWindow& window, std::int16_t firstPlanet,
                    std::int16_t secondPlanet);

// Transit tests for an aspect of angle `aspectAngle` and an orb of `orb`
// radians; dev(k) = |separation(k) - aspectAngle|.
//   InOrbAt(k):      row k valid and dev(k) < orb
//   EntersOrb:       not InOrbAt(-1) and InOrbAt(0)
//   LeavesOrb:       InOrbAt(-1) and not InOrbAt(0)
//   ApplyingInOrb:   rows 0 and +1 valid, dev(0) <= orb, dev(+1) < dev(0)
//   SeparatingInOrb: rows 0 and +1 valid, dev(0) <= orb, dev(+1) > dev(0)
bool InOrbAt(const PairRows& rows, int row, double aspectAngle, double orb);
bool EntersOrb(const PairRows& rows, double aspectAngle, double orb);
bool LeavesOrb(const PairRows& rows, double aspectAngle, double orb);
bool ApplyingInOrb(const PairRows& rows, double aspectAngle, double orb);
bool SeparatingInOrb(const PairRows& rows, double aspectAngle, double orb);

// Orb of whole degrees in radians: degrees / 360 × 6.28318530717959, in this
// order.
double InvestmentOrbRadians(int degrees);

}  // namespace vlt

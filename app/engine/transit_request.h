#pragma once
// What one transit scan is asked to do.  The commands fill it from the
// window's inputs; tests fill it directly.  All
// fields carry the meanings the scan relies on; nothing here reads a control.

#include <array>
#include <cstdint>
#include <string>

#include "app/positions/positions.h"
#include "app/positions/request_rules.h"

namespace vlt {

// The output box takes table rows only while it holds at most this many
// characters.
inline constexpr std::size_t kOutputRowLimit = 64000;
// Search mode scans up to this day (31 December 2099).
inline constexpr std::int32_t kSearchLastDay = 2488069;
// A minimum counts as exact when the distance to the aspect angle falls
// below one minute of arc (radians).
inline constexpr double kExactMinimumLimit = 0.000291;

struct TransitRequest {
    std::int16_t firstPlanet = 4;  // program planet numbers, first < second
    std::int16_t secondPlanet = 5;
    bool heliocentric = false;

    std::int16_t aspectTypeCount = 7;
    // Indexed 1..7 by aspect number (index 0 unused), like the shared tables.
    std::array<bool, 8> aspectEnabled{};
    std::array<double, 8> aspectAngle{};      // radians
    std::array<std::string, 8> aspectName{};  // written into column 0

    std::array<std::int16_t, 3> orbDegrees{10, 5, 2};  // outer, middle, inner
    std::array<double, 3> orb{};                       // the same in radians
    bool orbSwitch = false;                            // outer orb exactly 15 degrees

    std::int32_t startDay = 0;  // day numbers of the first and last day
    std::int32_t endDay = 0;
    bool searchMode = false;
    bool showAllMode = false;

    int timezoneIndex = kGmtIndex;      // a position of the time-zone list
    std::string timezoneLabel = "GMT";  // text of the selected zone entry
    std::string reportTitle;

    std::int16_t TimezoneMinutes() const { return TimezoneMinutesOfIndex(timezoneIndex); }
};

// The separation that the shared AngularSeparation returns, without the
// direction it also works out (at six-decimal rounding cost) and that the
// scan never reads: the same value, bit for bit, for any two longitudes.
inline double ShortestSeparation(double a, double b) {
    double d1 = a - b;
    if (d1 < 0.0) d1 += kTwoPi;
    double d2 = b - a;
    if (d2 < 0.0) d2 += kTwoPi;
    return d1 <= d2 ? d1 : d2;
}

// The same for two positions.  A missing one enters with its code, as the
// scan has always taken it: a date outside the data or a failed file lies
// far outside every orb, and a date that is not a number gives NaN, which no
// comparison takes; the scan's grid search depends on both, bit for bit.
inline double ShortestSeparation(const PositionResult& a, const PositionResult& b) {
    return ShortestSeparation(a.HasLongitude() ? a.Longitude() : a.FailureCode(),
                              b.HasLongitude() ? b.Longitude() : b.FailureCode());
}

// Orb degrees to radians with the program's value of 2π.
double OrbRadians(int degrees);

// Fills aspectAngle and aspectName from the shared aspect tables and the
// orbs in radians from orbDegrees; sets the orb switch for a 15-degree
// outer orb.
void CompleteRequest(TransitRequest& request);

// The scan's time step in days: 45 minutes (kMoonScanStep) with the Moon,
// 0.125 with Mercury, 0.25 with any planet up to Mars, else 0.5.
double ScanStep(std::int16_t firstPlanet, std::int16_t secondPlanet);

// The Moon's step.  The narrowest band between two orb levels is 1 degree
// (whole-degree orbs, strictly decreasing, the inner one at least 1), and
// the separation of the Moon and any body changes by at most about 16.8
// degrees a day (the Moon up to 15.4, Mercury retrograde up to 1.4 the other
// way): in 45 minutes at most 0.53 degree, so no orb level can be entered
// and left again, nor two levels crossed, between two steps.  A power of two
// of a day, the grid is walked by exact additions as the planets' is.
inline constexpr double kMoonScanStep = 1.0 / 32.0;

// Rows the transit table starts with (rows 0..R): 100 in search mode, else
// eight per 58 days of the period, at least 200 and at most 32760.
std::int32_t EstimatedTableRows(std::int32_t startDay, std::int32_t endDay, bool searchMode);

}  // namespace vlt

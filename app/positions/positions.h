#pragma once
// Position dispatch: the one entry through which the main program asks for a
// planet's ecliptic longitude, plus the angular separation and the retrograde
// test.  Longitudes are radians in [0, 2π); a negative result is an error
// code (-99/-100 date outside the data, -101..-104 data-file failures, -105 a
// Julian date that is not a finite number, -106 a malformed Pluto table
// entry, -999 body not supported) that every caller treats as "no position".

#include <cstdint>
#include <string>

#include "app/positions/position_failure.h"
#include "app/positions/vocabulary.h"

namespace vlt {

// The retrograde test's wrap threshold, a 15-digit constant like kTwoPi
// (app/positions/vocabulary.h).
inline constexpr double kWrapThreshold = 3.14159265358979;

// Longitude of a program planet (1..10) at Julian date jd: heliocentric
// (J2000 equinox) when heliocentric is true, else geocentric apparent.
double PlanetLongitude(std::int16_t planet, double jd, bool heliocentric);
double HelioLongitude(std::int16_t planet, double jd);
double GeoLongitude(std::int16_t planet, double jd);
// The same as a typed result: what the layers above the positions ask.
PositionResult PlanetPosition(std::int16_t planet, double jd, bool heliocentric);

// A geocentric longitude with its rate of change.
struct GeoMotion {
    double longitude = 0.0;  // as GeoLongitude: radians in [0, 2π) or a negative code
    double speed = 0.0;      // radians per day; 0 when a position is missing
};

// Geocentric longitude of a program planet (the Moon included) at jd and its
// speed, from the longitudes an hour either side (a symmetric difference:
// for the Moon, whose speed changes by a few per cent a day, it errs by far
// less than an arc second a day).  The speed's sign says direct (+) or
// retrograde (-).
GeoMotion GeoLongitudeAndSpeed(std::int16_t planet, double jd);

// Calendar year (astronomical numbering) in which jd falls; clamped to the
// 16-bit range so that far dates still read as "too early" / "too late".
std::int16_t YearOfJulianDay(double jd);

// x reduced into [0, 2π).  Non-finite x comes back as NaN.
double ReduceAngle(double x);

// Shortest angular distance of two longitudes, in [0, π].  direction becomes
// -1 when b lies that far ahead of a, +1 when a lies ahead of b (compared at
// 6 decimals, halves to even), and otherwise keeps the caller's value.
double AngularSeparation(double a, double b, std::int16_t& direction);

// Geocentric retrograde test: the longitude half an hour later is smaller.
// Always false for the Sun (1) and the Moon (10), for an error-code
// longitude, and across longitude 0.
bool IsRetrograde(std::int16_t planet, double jd);
bool IsRetrogradeAt(std::int16_t planet, double longitude, double jd);

// Threads: PlanetLongitude, GeoLongitude, HelioLongitude and the retrograde
// tests may run on several threads at once (the positions library keeps its
// buffers per thread; the first data-file failure is recorded under a lock).
// InitPositions, InitPositionsWithFolder and the loading or resetting of the
// Pluto tables (pluto_tables.h) change shared state and must run before the
// scans start, never beside them.

// Start-up: data folder = the running program's folder + "/", handed to the
// positions library; fills AspectAngles and AspectNames.
void InitPositions();
// The same with a chosen data folder (must end with "/"); for tests and tools.
void InitPositionsWithFolder(const std::string& folder);
// The data folder set by the last InitPositions call ("" before).
const std::string& DataFolder();

}  // namespace vlt

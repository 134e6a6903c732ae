// The reference ephemeris (the Swiss Ephemeris reading the DE431 files) as
// the source of every generated record and table entry.  The generator and
// the tests that regenerate parts of the committed files both go through
// here, so that they cannot disagree about flags or rounding.
#ifndef VLT_TOOLS_EPHEMERIS_SOURCE_H
#define VLT_TOOLS_EPHEMERIS_SOURCE_H

#include <optional>
#include <string>

#include "tools/dac_fit.h"
#include "tools/data_format.h"

namespace vlt::datagen {

// Points the ephemeris at its data files.  Call once before anything else.
void OpenEphemeris(const char* ephemeris_folder);
void CloseEphemeris();

// Reference body number of Pluto.
inline constexpr int kPlutoBody = 9;

// Heliocentric geometric position referred to the mean equinox and ecliptic
// of date (no light time, no aberration, no nutation) at jd read as
// dynamical time: longitude and latitude in radians, radius vector in AU.
// False when the ephemeris cannot answer from its DE431 files (it is never
// allowed to fall back on a less precise theory).
bool HeliocentricOfDate(int body, double jd, double position[3]);

// Geocentric apparent longitude of date in degrees: light time, aberration,
// deflection, true equinox (the ephemeris' default position).
std::optional<double> GeocentricApparentLongitude(int body, double jd);

// Heliocentric geometric longitude in degrees referred to the equinox and
// ecliptic of J2000.0.
std::optional<double> HeliocentricJ2000Longitude(int body, double jd);

// The Moon's geocentric apparent longitude of date (rad) and distance (AU)
// at a universal Julian date, through the ephemeris' own Delta T: the
// default position (light time, aberration, true equinox), as the Moon's
// records hold it.  False when the ephemeris cannot answer from its files.
bool MoonApparentAtUniversalTime(double jd_ut, double* longitude, double* distance);

// Record k of a planet's file, fitted and written out (235 characters); empty
// when the ephemeris fails.
std::optional<std::string> MakeDacRecord(const OuterPlanet& planet, int k, FitQuality* quality);

// The value entry i of the geocentric (heliocentric) Pluto table holds:
// the longitude at 0h of its day rounded to whole minutes (seconds) of arc.
std::optional<int> GeoPlutoMinutes(int index);
std::optional<int> HelioPlutoSeconds(int index);

// Entry i of the geocentric (heliocentric) Pluto table, encoded.
std::optional<std::string> MakeGeoPlutoEntry(int index);
std::optional<std::string> MakeHelioPlutoEntry(int index);

}  // namespace vlt::datagen

#endif

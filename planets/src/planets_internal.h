// Internal operations of the positions library.  Only the four C functions
// of planets_vlt.h leave the shared library; everything here is reachable by
// tests, benchmarks and tools through the static build (planets_vlt_static).
//
// Conventions shared by every operation:
// - jd is a noon-based Julian date taken as the time argument exactly as
//   given (no time-scale correction).  U = (jd - 2451545) * kJulianMillennia,
//   Julian periods of 10,000 years from J2000.0.
// - Angles are radians, distances astronomical units.
// - A result of -99 or less is an error code (the PLANETS_VLT_* codes of the
//   public header); anything greater is a longitude.
// - Out-pointers may be null: nothing is written there.
// - The operations share one data folder (guarded by a lock); the path
//   buffer and the record buffer are per thread, so calls on different
//   threads may overlap.
#ifndef PLANETS_VLT_PLANETS_INTERNAL_H
#define PLANETS_VLT_PLANETS_INTERNAL_H

#include <cstddef>
#include <cstdint>

namespace pvlt {

// The library works with the nearest doubles to 2π and π.  The main program
// has its own 2π, the 15-digit 6.28318530717959 (kTwoPi in
// app/positions/positions.h), that its reports have always been computed
// with; the two differ in the last bits and are kept apart on purpose.
inline constexpr double kTwoPiExact = 6.283185307179586;
inline constexpr double kPi = 3.141592653589793;
// Julian periods of 10,000 years per day, stored as this double rather than
// computed by a division so that every build uses the identical factor.
inline constexpr double kJulianMillennia = 2.737850787132101e-7;
inline constexpr double kJ2000 = 2451545.0;

// Result codes (the same values as the public header's macros).
inline constexpr int kErrYearBeforeData = -99;
inline constexpr int kErrYearAfterData = -100;
inline constexpr int kErrFileOpen = -101;
inline constexpr int kErrFileSeek = -102;
inline constexpr int kErrFileShort = -103;
inline constexpr int kErrNoDataFolder = -104;
inline constexpr int kErrBadJulianDay = -105;
inline constexpr int kErrDamagedRecord = -107;
inline constexpr int kErrBadPlanet = -999;

// Anything above this is a longitude; at or below it, an error code.
inline constexpr double kErrorLimit = -99.0;

// Data folder and file names: 255 characters plus the terminator.
inline constexpr std::size_t kPathCapacity = 256;

// Outer-planet data files: fixed 235-byte text records.
inline constexpr int kRecordBytes = 235;
inline constexpr int kRecordBufferBytes = 256;
// A record's polynomials hold from this many days before its block to this
// many days after it (the span they are fitted to).
inline constexpr double kRecordMarginDays = 30.0;
// Five calendar years are at most 1827 days; a header that claims a longer
// block is damaged.
inline constexpr double kMaxBlockDays = 1830.0;

// Reduces an angle into [0, 2pi).  Exactly 2pi (or a value that rounds to it)
// gives 0.  Works for any finite angle in constant time.
double reduce_angle(double angle);

// Time argument U of the series for a Julian date.
inline double julian_millennia(double jd) { return (jd - kJ2000) * kJulianMillennia; }

// ---- Series bodies -------------------------------------------------------

// The Sun's geometric longitude of date in [0, 2pi); rv receives the
// Earth-Sun distance.  Never fails.
double sun_long_rv(double jd, double* rv);

// Heliocentric longitude of date in [0, 2pi), latitude and radius vector of
// the three inner series planets.  Never fail.
double mercury_long_lat_rv(double jd, double* lat, double* rv);
double venus_long_lat_rv(double jd, double* lat, double* rv);
double mars_long_lat_rv(double jd, double* lat, double* rv);

// One row of a periodic table: amplitude in 1e-7 rad (1e-7 AU for radius
// tables), phase in rad, frequency in rad per 10,000 Julian years.
struct PeriodicTerm {
    std::int32_t amplitude;
    double phase;
    double frequency;
};

struct PeriodicTable {
    const char* name;  // e.g. "mercury_longitude", "mars_radius"
    const PeriodicTerm* terms;
    int count;
};

// The nine planetary tables (Mercury, Venus, Mars; longitude, latitude,
// radius) in that order.
inline constexpr int kPeriodicTableCount = 9;
const PeriodicTable* periodic_tables();

// One row of the solar table: a longitude and a distance amplitude sharing
// one argument.
struct SolarTerm {
    std::int32_t longitude;  // 1e-7 rad, sine
    std::int32_t distance;   // 1e-7 AU, cosine
    double phase;
    double frequency;
};
inline constexpr int kSolarTermCount = 50;
const SolarTerm* solar_terms();

// S = sum of l sin(arg) and C = sum of r cos(arg) over the solar table at U.
void solar_sums(double u, double* s, double* c);

// ---- Outer-planet data files -------------------------------------------

// The record most recently read by dac_read_record on the calling thread.
// Overwritten by that thread's next read; the contents after a failed read
// are unspecified.
struct DacRecord {
    int header;                 // integer at offset 0, kept but unused
    double t0;                  // Julian day of the time origin
    double second;              // Julian-day-like number at offset 15, unused
    double coefficients[7][3];  // [power][quantity]: longitude, latitude, radius
};
const DacRecord& dac_last_record();

// Reads record `record_index` of `file_name` in the data folder.  0 on
// success, else kErrNoDataFolder (checked first), kErrFileOpen (also a null
// or empty file name, a folder plus name longer than 255 characters, and a
// path that is not a regular file: a folder, a FIFO, a device), kErrFileSeek
// (a negative index), kErrFileShort (the file ends before the record's last
// byte), kErrDamagedRecord (a field that is not wholly a finite number).
int dac_read_record(const char* file_name, int record_index);

// Reads record `record_index` (record_bytes long, records back to back) of
// `file_name` in the data folder into buffer, with the checks and codes of
// dac_read_record (which reads through it) but no parsing.  0 on success.
int read_fixed_record(const char* file_name, int record_index, int record_bytes,
                      unsigned char* buffer);

// One field of a record read whole and strictly (blanks, a decimal number,
// blanks; never "inf", "nan" or hexadecimal; locale-independent).  False for
// an empty field, anything else in it, or a value that is not finite.
bool read_field(const unsigned char* record, int offset, int width, double* out);

// Whether a record read for the block beginning in `block_first_year` is
// that block's record and answers for jd: its header year is the block's
// first year, its origin T0 and end (offset 15) describe a block of at most
// five years (T0 is the block's middle, so it begins at 2 T0 - end), and jd
// lies in the block or within kRecordMarginDays of it.
bool record_covers(const DacRecord& record, int block_first_year, double jd);

// Heliocentric longitude of date (not reduced), latitude and radius vector
// from the record that covers `year`:  record (year - first_year) / 5.
// kErrYearBeforeData, kErrYearAfterData, a dac_read_record code, or
// kErrDamagedRecord when the record does not cover jd (record_covers), on
// failure; lat and rv are then left as they were.
double dac_long_lat_rv(double jd, int year, int first_year, int end_year, const char* file_name,
                       double* lat, double* rv);

// ---- The Moon -------------------------------------------------------------

// Library planet number of the Moon (geocentric function only).
inline constexpr int kMoonPlanet = 10;

// moon.chb: fixed 119-byte text records, each ending in a line feed.  Record
// k covers the universal Julian dates [kMoonFirstJd + 16 k, kMoonFirstJd +
// 16 (k + 1)).  Fields, right aligned, each beginning with a blank or a minus
// sign: the record's first day (its Julian date + 0.5, a whole number, 8
// characters), then the Chebyshev coefficients of the apparent longitude
// (radians, on the branch of the record's middle) in units of 1e-7 rad, then
// those of the distance in units of 1e-7 AU, with the widths below.
inline constexpr const char* kMoonFile = "moon.chb";
inline constexpr double kMoonFirstJd = 2305447.5;  // 1600-01-01 0h
inline constexpr double kMoonEndJd = 2743918.5;    // 2800-01-01 0h
inline constexpr double kMoonBlockDays = 16.0;
inline constexpr int kMoonDayWidth = 8;
inline constexpr int kMoonLongitudeTerms = 14;
inline constexpr int kMoonDistanceTerms = 8;
inline constexpr int kMoonLongitudeWidths[kMoonLongitudeTerms] = {9, 9, 7, 7, 7, 6, 6,
                                                                  5, 5, 4, 4, 3, 3, 3};
inline constexpr int kMoonDistanceWidths[kMoonDistanceTerms] = {6, 5, 5, 4, 4, 3, 3, 2};
inline constexpr int kMoonRecordBytes = 119;
inline constexpr double kMoonLongitudeUnit = 1e-7;  // rad
inline constexpr double kMoonDistanceUnit = 1e-7;   // AU

struct MoonRecord {
    double first_day;  // Julian date + 0.5 of the record's first 0h
    double longitude[kMoonLongitudeTerms];
    double distance[kMoonDistanceTerms];
};

// Reads and parses record `index` of moon.chb: 0, a code of
// read_fixed_record, or kErrDamagedRecord (a field that is not a whole
// number, or a first day that is not the record's).
int moon_read_record(int index, MoonRecord* record);

// Sum of c[k] T_k(x), k < count (Clenshaw's recurrence).
double chebyshev_sum(const double* c, int count, double x);

// The Moon's geocentric apparent longitude (true equinox of date) in
// [0, 2pi) at the universal Julian date jd; rv receives its distance (AU).
// kErrYearBeforeData before 1600-01-01 0h, kErrYearAfterData from
// 2800-01-01 0h, kErrBadJulianDay for a jd that is not finite, else the codes
// of moon_read_record.  On error nothing is written.
double moon_app_long_rv(double jd, double* rv);

// ---- Dispatch -------------------------------------------------------------

// Data folder handling behind set_datafiles_folder.  Returns the length plus
// one, or 0 when the text is refused (null, or longer than 255 characters);
// a refused text leaves the folder unchanged.
int set_data_folder(const char* folder);
// A copy of the folder, valid on the calling thread until its next call.
const char* data_folder();

// Heliocentric longitude of date in [0, 2pi), latitude and radius vector of a
// library planet: 0 or 3 Earth, 1 Mercury, 2 Venus, 4 Mars, 5 Jupiter,
// 6 Saturn, 7 Uranus, 8 Neptune (5..8 from their data files, which need
// `year`, the calendar year of jd).  kErrBadPlanet for any other number,
// kErrBadJulianDay when jd is not finite (or the result overflows), else the
// data-file codes.  On error
// nothing is written.
double hc_long_lat_rv_planet(int planet, double jd, int year, double* lat, double* rv);

// ---- Geocentric reduction ------------------------------------------------

// The Sun's apparent longitude (true equinox of date) in [0, 2pi); rv
// receives the Earth-Sun distance.
double sun_app_long_rv(double jd, double* rv);

// Geometric geocentric longitude of date (in (-pi, pi], not reduced),
// latitude and distance of a planet; for 0 or 3 the Sun's geometric longitude
// of date with latitude 0.  Error codes as hc_long_lat_rv_planet.
double gc_geom_long_lat_rv(int planet, double jd, int year, double* lat, double* rv);

// Heliocentric (L, B, R) of a body and the Sun's geocentric (Ls, Rs) to the
// body's geocentric longitude in (-pi, pi]; lat and rv receive its latitude
// and distance.
double helio_to_geo(double Ls, double Rs, double L, double B, double R, double* lat, double* rv);

// Nutation in longitude (two terms), radians.
double nutation_in_longitude(double jd);

// The body's apparent-place correction plus the nutation in longitude added
// to `longitude` (not reduced).  Planet 0 or 3 uses the Sun's row.  An error
// code passes unchanged; a planet outside 0..8 gives kErrBadPlanet.
double app_correction(double jd, int planet, double longitude);

}  // namespace pvlt

#endif

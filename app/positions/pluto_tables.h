#pragma once
// Pluto's longitude from the program's own daily tables: the geocentric table
// "pluto.slx" (1600-01-01 .. 2099-12-31) and the heliocentric table
// "hpluto.2199.slx" (1600-01-01 .. 2200-01-01), read from the data folder.
// Entry i holds the longitude at 0h of day number 2305448 + i.
//
// Each entry is kept decoded (whole minutes or seconds of arc) instead of as
// its line of text: the same answers for a fraction of the memory.

#include <cstdint>

#include "app/support/message_box.h"

namespace vlt {

inline constexpr std::int32_t kPlutoFirstDay = 2305448;
inline constexpr std::int32_t kGeoPlutoLastDay = 2488069;
inline constexpr std::int32_t kHelioPlutoLastDay = 2524593;
// Answer for an entry that is not a valid encoding (too short, a character
// outside 58..125, or a part out of its range).
inline constexpr double kMalformedPlutoEntry = -106.0;

// Loads both tables from DataFolder() (positions.h).  A failure on the
// geocentric file shows "Error when reading geocentric Pluto data." and skips
// the heliocentric file; a failure on the heliocentric file is silent.  True
// when both were read.
bool ReadPlutoData(MessageBoxes& boxes);
// Forgets both tables (as before the first load).
void ResetPlutoTables();
std::int32_t GeoPlutoEntryCount();
std::int32_t HelioPlutoEntryCount();

// Radians in [0, 2π); -99 before 1600-01-01 0h; -100 after the last day or
// beyond the loaded entries; kMalformedPlutoEntry for a broken entry; -105
// for a jd that is not a finite number.
double GeoPlutoLongitude(double jd);
double HelioPlutoLongitude(double jd);

// Degrees of entry i; -100 beyond the loaded entries (or i < 0),
// kMalformedPlutoEntry for a broken entry.
double DecodeGeoPlutoEntry(std::int32_t i);
double DecodeHelioPlutoEntry(std::int32_t i);

}  // namespace vlt

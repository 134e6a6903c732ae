#pragma once
// Pluto's longitude from the program's own daily tables: the geocentric table
// "pluto.slx" (1600-01-01 .. 2099-12-31) and the heliocentric table
// "hpluto.2199.slx" (1600-01-01 .. 2200-01-01), read from the data folder.
// Entry i holds the longitude at 0h of day number 2305448 + i.
//
// Each entry is kept decoded (whole minutes or seconds of arc) instead of as
// its line of text: the same answers for a fraction of the memory.
//
// Threads: the tables are loaded once at start-up and only read afterwards,
// so any number of scans may read them at once; ReadPlutoData and
// ResetPlutoTables replace them and must not run while a scan does.

#include <cstdint>
#include <string>

#include "app/support/message_box.h"

namespace vlt {

inline constexpr std::int32_t kPlutoFirstDay = 2305448;
inline constexpr std::int32_t kGeoPlutoLastDay = 2488069;
inline constexpr std::int32_t kHelioPlutoLastDay = 2524593;
// Answer for an entry that is not a valid encoding (too short, a character
// outside 58..125, or a part out of its range).
inline constexpr double kMalformedPlutoEntry = -106.0;
// Answer of a table that is not in memory (its file could not be read).
inline constexpr double kPlutoTableNotRead = -101.0;
// Answer for a day within the table's span that the file does not reach.
inline constexpr double kPlutoTableShort = -103.0;

inline constexpr const char* kGeoPlutoFile = "pluto.slx";
inline constexpr const char* kHelioPlutoFile = "hpluto.2199.slx";

// Loads both tables from DataFolder() (positions.h).  A failure on the
// geocentric file shows "Error when reading geocentric Pluto data."; a
// failure on the heliocentric file is silent.  Each table is read whatever
// became of the other, so that the commands that need only one of them
// still run.  True when both were read.
bool ReadPlutoData(MessageBoxes& boxes);
// Why a table is not in memory: the reader's error text ("No such file or
// directory"), or "the table has not been read"; "" when it is loaded.
std::string PlutoTableReadError(bool heliocentric);
// "" when the table is in memory, else "Cannot read the data file
// hpluto.2199.slx: No such file or directory." and the like.
std::string PlutoTableProblem(bool heliocentric);
// Forgets both tables (as before the first load).
void ResetPlutoTables();
std::int32_t GeoPlutoEntryCount();
std::int32_t HelioPlutoEntryCount();

// Radians in [0, 2π); -99 before 1600-01-01 0h; -100 after the last day;
// kPlutoTableNotRead when the table is not in memory; kPlutoTableShort for a
// day of the span beyond the loaded entries; kMalformedPlutoEntry for a
// broken entry; -105 for a jd that is not a finite number.
double GeoPlutoLongitude(double jd);
double HelioPlutoLongitude(double jd);

// The line of the table's file (1-based, blank lines counted) holding the
// damaged entry that the longitude at jd is drawn from; 0 when neither of
// its entries is damaged.
std::int32_t PlutoDamagedLine(bool heliocentric, double jd);

// Degrees of entry i; -100 beyond the loaded entries (or i < 0),
// kMalformedPlutoEntry for a broken entry.
double DecodeGeoPlutoEntry(std::int32_t i);
double DecodeHelioPlutoEntry(std::int32_t i);

}  // namespace vlt

// Encoding of the daily Pluto tables: one short line of characters per day.
// Entry i of the geocentric table holds whole minutes of arc, entry i of the
// heliocentric table whole seconds of arc; each character carries one digit
// in base sixty (sixties of degrees, degrees, minutes, seconds) plus an
// offset, some of the offsets depending on the index.
#ifndef VLT_TOOLS_PLUTO_CODEC_H
#define VLT_TOOLS_PLUTO_CODEC_H

#include <optional>
#include <string>
#include <string_view>

namespace vlt::datagen {

// Julian date of 0h of the day of entry 0 (1600-01-01, Gregorian).
inline constexpr double kPlutoFirstJulianDate = 2305447.5;
inline constexpr int kGeoPlutoEntries = 182623;    // through 2100-01-01
inline constexpr int kHelioPlutoEntries = 219147;  // through 2200-01-01
inline constexpr int kMinutesPerTurn = 360 * 60;
inline constexpr int kSecondsPerTurn = 360 * 3600;
// Every character of an entry lies in this range of codes.
inline constexpr int kLowestCode = 58;
inline constexpr int kHighestCode = 125;

// Rounds a longitude in degrees to the nearest whole minute (second) of arc,
// in [0, 21600) ([0, 1296000)): a rounded 60 is carried into the next unit
// and a full turn becomes 0.
int RoundToMinutes(double degrees);
int RoundToSeconds(double degrees);

// Entry texts for index i; minutes (seconds) must lie within one turn.
std::string EncodeGeoEntry(int index, int minutes);
std::string EncodeHelioEntry(int index, int seconds);

// The whole minutes (seconds) an entry holds, or empty when the text is not a
// valid entry for that index (wrong length, a digit out of range, a
// character outside the allowed codes).
std::optional<int> DecodeGeoEntry(int index, std::string_view entry);
std::optional<int> DecodeHelioEntry(int index, std::string_view entry);

}  // namespace vlt::datagen

#endif

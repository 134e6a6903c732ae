#pragma once
// Planet and aspect vocabulary: every name under which a planet or an aspect
// appears in the window, the reports and output files comes from here.

#include <array>
#include <cstdint>
#include <string>

namespace vlt {

// Program planet numbers.
inline constexpr std::int16_t kSun = 1;  // the Earth in heliocentric mode
inline constexpr std::int16_t kMercury = 2;
inline constexpr std::int16_t kVenus = 3;
inline constexpr std::int16_t kMars = 4;
inline constexpr std::int16_t kJupiter = 5;
inline constexpr std::int16_t kSaturn = 6;
inline constexpr std::int16_t kUranus = 7;
inline constexpr std::int16_t kNeptune = 8;
inline constexpr std::int16_t kPluto = 9;
inline constexpr std::int16_t kMoon = 10;

// Aspect numbers 1..7, in this order in every list, table and flag array.
inline constexpr int kConjunction = 1;
inline constexpr int kOpposition = 2;
inline constexpr int kSquare = 3;
inline constexpr int kTrine = 4;
inline constexpr int kSextile = 5;
inline constexpr int kSemisextile = 6;
inline constexpr int kQuincunx = 7;
inline constexpr int kAspectCount = 7;

struct AspectRecord {
    std::string abbreviation;  // "Con"
    std::string name;          // "Conjunction"
    std::string relation;      // "conjunct", "square to"
    std::string adjective;     // "conjunct", "square"
    std::string label;         // "conjunction (0°)", UTF-8 degree sign
};

// Indexed 1..7 by aspect number; index 0 unused.  Filled by SetUpAspectNames
// and by InitPositions (angles in radians, 2π taken as 6.28318530717959).
extern std::array<AspectRecord, 8> AspectNames;
extern std::array<double, 8> AspectAngles;

// Fills records 1..7 of AspectNames.
void SetUpAspectNames();

// "Sun"/"Su" (geocentric) or "Earth"/"Ea" (heliocentric) for 1 and for any
// number outside 2..10; otherwise "Mercury"/"Me" .. "Moon"/"Mo".
std::string PlanetName(std::int16_t planet, bool heliocentric, bool abbreviated);

}  // namespace vlt

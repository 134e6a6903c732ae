#pragma once
// Planet and aspect vocabulary: every name under which a planet or an aspect
// appears in the window, the reports and output files comes from here.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vlt {

// The program's value of 2π.  Every angle of the reports is computed with
// it, not with the nearest double to 2π that the positions library uses
// inside: the two differ in the last bits, and the reports depend on which
// one is taken.
inline constexpr double kTwoPi = 6.28318530717959;

// ---- Typed vocabulary ------------------------------------------------------
// The program numbers below stay the values of these enumerations, so that a
// typed value and the number an older interface takes convert both ways
// without a table.

enum class Planet : std::int16_t {
    Sun = 1,  // the Earth in heliocentric mode
    Mercury,
    Venus,
    Mars,
    Jupiter,
    Saturn,
    Uranus,
    Neptune,
    Pluto,
    Moon,
};

enum class Centricity : std::uint8_t { Geocentric, Heliocentric };

enum class Aspect : std::uint8_t {
    Conjunction = 1,
    Opposition,
    Square,
    Trine,
    Sextile,
    Semisextile,
    Quincunx,
};

// Everything the program writes or computes about one aspect.
struct AspectInfo {
    Aspect aspect;
    std::string_view abbreviation;  // "Con"
    std::string_view name;          // "Conjunction": lists, tables, CSV and JSON
    std::string_view relation;      // "conjunct", "square to"
    std::string_view adjective;     // "conjunct", "square"
    std::string_view label;         // "conjunction (0°)", UTF-8 degree sign
    int degrees;
    // Radians, worked out as degrees / 360 * kTwoPi: the reports depend on
    // these exact doubles.
    double angle;
};

namespace detail {
constexpr AspectInfo MakeAspect(Aspect a, std::string_view abbreviation, std::string_view name,
                                std::string_view relation, std::string_view adjective,
                                std::string_view label, int degrees) {
    return {a, abbreviation, name, relation, adjective, label, degrees, degrees / 360.0 * kTwoPi};
}
}  // namespace detail

// The one aspect table, in the order of every list, table and flag array.
inline constexpr std::array<AspectInfo, 7> kAspectTable{{
    detail::MakeAspect(Aspect::Conjunction, "Con", "Conjunction", "conjunct", "conjunct",
                       "conjunction (0\u00b0)", 0),
    detail::MakeAspect(Aspect::Opposition, "Opp", "Opposition", "opposite", "opposite",
                       "opposition (180\u00b0)", 180),
    detail::MakeAspect(Aspect::Square, "Sqr", "Square", "square to", "square", "square (90\u00b0)",
                       90),
    detail::MakeAspect(Aspect::Trine, "Tri", "Trine", "trine to", "trine", "trine (120\u00b0)",
                       120),
    detail::MakeAspect(Aspect::Sextile, "Sxt", "Sextile", "sextile to", "sextile",
                       "sextile (60\u00b0)", 60),
    detail::MakeAspect(Aspect::Semisextile, "Ssx", "Semisextile", "semisextile to", "semisextile",
                       "semisextile (30\u00b0)", 30),
    detail::MakeAspect(Aspect::Quincunx, "Qui", "Quincunx", "quincunx to", "quincunx",
                       "quincunx (150\u00b0)", 150),
}};

constexpr int Number(Aspect a) { return static_cast<int>(a); }
constexpr std::int16_t Number(Planet p) { return static_cast<std::int16_t>(p); }
constexpr const AspectInfo& Info(Aspect a) {
    return kAspectTable[static_cast<std::size_t>(Number(a) - 1)];
}
constexpr bool IsHeliocentric(Centricity c) { return c == Centricity::Heliocentric; }
constexpr Centricity CentricityOf(bool heliocentric) {
    return heliocentric ? Centricity::Heliocentric : Centricity::Geocentric;
}

// Program numbers to typed values; nothing for a number outside the range.
constexpr std::optional<Aspect> AspectOfNumber(int number) {
    if (number < 1 || number > static_cast<int>(kAspectTable.size())) return std::nullopt;
    return static_cast<Aspect>(number);
}
constexpr std::optional<Planet> PlanetOfNumber(int number) {
    if (number < Number(Planet::Sun) || number > Number(Planet::Moon)) return std::nullopt;
    return static_cast<Planet>(number);
}
// The aspect whose name (as in kAspectTable, "Square") is name.
std::optional<Aspect> AspectOfName(std::string_view name);

// "Sun"/"Earth" by centricity, "Mercury" .. "Moon"; "Su"/"Ea", "Me" .. "Mo".
std::string_view Name(Planet p, Centricity c);
std::string_view Abbreviation(Planet p, Centricity c);

// ---- Program numbers -------------------------------------------------------
// The interfaces that still take numbers use these; they are the values of
// the enumerations above.

inline constexpr std::int16_t kSun = Number(Planet::Sun);
inline constexpr std::int16_t kMercury = Number(Planet::Mercury);
inline constexpr std::int16_t kVenus = Number(Planet::Venus);
inline constexpr std::int16_t kMars = Number(Planet::Mars);
inline constexpr std::int16_t kJupiter = Number(Planet::Jupiter);
inline constexpr std::int16_t kSaturn = Number(Planet::Saturn);
inline constexpr std::int16_t kUranus = Number(Planet::Uranus);
inline constexpr std::int16_t kNeptune = Number(Planet::Neptune);
inline constexpr std::int16_t kPluto = Number(Planet::Pluto);
inline constexpr std::int16_t kMoon = Number(Planet::Moon);

inline constexpr int kConjunction = Number(Aspect::Conjunction);
inline constexpr int kOpposition = Number(Aspect::Opposition);
inline constexpr int kSquare = Number(Aspect::Square);
inline constexpr int kTrine = Number(Aspect::Trine);
inline constexpr int kSextile = Number(Aspect::Sextile);
inline constexpr int kSemisextile = Number(Aspect::Semisextile);
inline constexpr int kQuincunx = Number(Aspect::Quincunx);
inline constexpr int kAspectCount = static_cast<int>(kAspectTable.size());

struct AspectRecord {
    std::string abbreviation;  // "Con"
    std::string name;          // "Conjunction"
    std::string relation;      // "conjunct", "square to"
    std::string adjective;     // "conjunct", "square"
    std::string label;         // "conjunction (0°)", UTF-8 degree sign
};

// Indexed 1..7 by aspect number; index 0 unused: copies of kAspectTable for
// the callers that still index by number.  Filled by SetUpAspectNames and by
// InitPositions.
extern std::array<AspectRecord, 8> AspectNames;
extern std::array<double, 8> AspectAngles;

// Fills records 1..7 of AspectNames and AspectAngles from kAspectTable.
void SetUpAspectNames();

// "Sun"/"Su" (geocentric) or "Earth"/"Ea" (heliocentric) for 1 and for any
// number outside 2..10; otherwise "Mercury"/"Me" .. "Moon"/"Mo".
std::string PlanetName(std::int16_t planet, bool heliocentric, bool abbreviated);

}  // namespace vlt

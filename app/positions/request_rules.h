#pragma once
// The rules every front end applies to a request before anything is
// computed, in one place: which planet a list position stands for, which orbs
// and aspect types may go together, which dates the program accepts, and how
// a time-zone list position turns into minutes.  The window, the transit
// commands, the investment simulation and vlt-report all ask here, so that a
// request means the same and is refused with the same words whichever of them
// builds it.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "app/support/message_box.h"

namespace vlt {

// ---- Refusals --------------------------------------------------------------

enum class RefusalKind {
    NoAspectType,       // no aspect-type box checked
    OrbsNotDecreasing,  // outer > middle > inner does not hold
    DateTooEarly,       // before 1 January of the year 1
    DateTooLate,        // on or after 1 January 2800
    DateInvalid,        // no such day in the calendar
    PeriodTooShort,     // the start less than 3 days before the end
    NoTimezone,         // no entry of the time-zone list chosen
    PlanetToItself,     // the same planet in both lists
    PairOutOfOrder,     // the second planet not beyond the first
    MoonHeliocentric,   // the Moon asked for from the Sun
    AspectNotPossible,  // a geocentric aspect the pair can never form
    DateBeforeData,     // a date before a planet's data
    DateAfterData,      // a date after a planet's data
};

// A request the rules refuse, with the words the user is shown.  An empty
// title stands for the caption of the button that was pressed.
struct Refusal {
    RefusalKind kind;
    std::string message;
    std::string title;
    MsgIcon icon = MsgIcon::Information;
};

// Shows a refusal; buttonCaption is the title when the refusal has none.
void ShowRefusal(const Refusal& refusal, MessageBoxes& boxes, const std::string& buttonCaption);

// ---- Pair, zone and period -------------------------------------------------
// Program planet numbers; the caption of the pressed button heads each.

// The start at least 3 days before the end (day numbers).
std::optional<Refusal> CheckPeriodLength(std::int32_t startDay, std::int32_t endDay);
// A time-zone list position chosen (0 stands for none).
std::optional<Refusal> CheckTimezoneChosen(int timezoneIndex);
// A pair of one table: two planets, the second beyond the first.
std::optional<Refusal> CheckTablePair(int first, int second, bool heliocentric);
// A search's pair: the second beyond the first (the same planet twice
// included).
std::optional<Refusal> CheckSearchPair(int first, int second, bool heliocentric);
// The aspects a geocentric pair can form: the Sun, Mercury and Venus stay
// close together as seen from the Earth.  Aspect 1..7; any other (none
// chosen) passes.  The title is the search button's.
std::optional<Refusal> CheckGeocentricAspect(int first, int second, int aspect);
// A date outside a planet's data: date 0 is the start date, 1 the end date;
// planetName as the lists show it.  The program's own title heads it, not a
// button's: show it with kDefaultTitle as the caption.
Refusal OutsideDataRefusal(int date, bool beforeData, const std::string& planetName);

// ---- Planet lists ----------------------------------------------------------
// The first list holds planets 1..8 and, with no entry selected, stands for
// Pluto (9); the second holds planets 2..9.  Both end with the Moon (10),
// added after them so that a saved list position keeps its planet.

inline constexpr int kMoonListIndex = 8;

std::int16_t FirstPlanetOfListIndex(int index);
std::int16_t SecondPlanetOfListIndex(int index);
// The list positions of program planet numbers (first list: -1 for Pluto).
int FirstListIndexOfPlanet(int planet);
int SecondListIndexOfPlanet(int planet);

// The order of a pair: "Second planet must be beyond first planet" compares
// these ranks.  The Moon ranks right after the Sun, so that Sun-Moon and
// Moon-Mars are pairs in order and Mars-Moon is not.
int PlanetOrderRank(int planet);
bool PlanetsInOrder(int first, int second);

// The Moon is computed geocentrically only: a heliocentric request with it
// is refused with these words.
inline constexpr const char* kMoonGeocentricOnly =
    "The Moon is geocentric only: choose Geocentric to use it.";
bool RefusesMoonHeliocentric(int first, int second, bool heliocentric);

// Whether a show-all series pairs its kept planet with the Moon: only when
// the kept planet is the Moon itself or the series asks for the Moon, so
// that a series of the other planets reads as it did before the Moon joined
// the lists; never heliocentrically.
bool ShowAllPairsWithMoon(int keptPlanet, bool withMoon, bool heliocentric);

// ---- Orbs and aspect types -------------------------------------------------
// Orb list positions are counted from 0: the three orb lists start at 1
// degree, the search orb list at 3.

std::int16_t OrbDegreesOfListIndex(int index);
std::int16_t SearchOrbDegreesOfListIndex(int index);
// And back: the list position of an orb in whole degrees.
int OrbListIndexOfDegrees(int degrees);
int SearchOrbListIndexOfDegrees(int degrees);
bool OrbsStrictlyDecreasing(int outer, int middle, int inner);
// Outer, middle and inner in list positions or in degrees alike.
std::optional<Refusal> CheckOrbs(int outer, int middle, int inner);
std::optional<Refusal> CheckAspectTypesChosen(const std::array<bool, 7>& checked);

// ---- Dates -----------------------------------------------------------------

// Day numbers the program accepts: from 1 January of the year 1 up to, not
// including, 1 January 2800.
inline constexpr std::int32_t kFirstSupportedDay = 1721426;
inline constexpr std::int32_t kSupportedDayLimit = 2743739;

// True when year, month and day name a day of the Gregorian calendar (year 1
// and later).
bool GregorianDateExists(std::int64_t year, std::int64_t month, std::int64_t day);
// A date that names no day of the calendar ("The start date is invalid."):
// the refusal itself, and the check of a year, month and day.
Refusal InvalidDateRefusal(int date);
std::optional<Refusal> CheckDateExists(int date, std::int64_t year, std::int64_t month,
                                       std::int64_t day);
// The supported span; date 0 is the start date, 1 the end date.
std::optional<Refusal> CheckDateSpan(int date, std::int32_t dayNumber);

// ---- Time zones ------------------------------------------------------------
// 48 entries: entry k stands for (k - 24) * 30 minutes east of GMT, entry 0
// for no zone chosen.

inline constexpr int kTimezoneCount = 48;
inline constexpr int kGmtIndex = 24;

std::int16_t TimezoneMinutesOfIndex(int index);
// The list position of a zone given in minutes east of GMT, by the nearest
// half hour (halves to even); may fall outside 1..47.
int TimezoneIndexOfMinutes(int minutesEast);

// ---- Request values --------------------------------------------------------
// What a request holds, as values rather than list positions.

// The three orbs in whole degrees; a request needs outer > middle > inner.
struct Orbs {
    std::int16_t outer = 10;
    std::int16_t middle = 5;
    std::int16_t inner = 2;

    std::array<std::int16_t, 3> Degrees() const { return {outer, middle, inner}; }
    bool operator==(const Orbs&) const = default;
};
std::optional<Refusal> CheckOrbs(const Orbs& orbs);

// A time zone as minutes east of GMT; the program offers half-hour steps.
struct TimeZone {
    std::int16_t minutesEast = 0;

    static TimeZone OfListIndex(int index) { return TimeZone{TimezoneMinutesOfIndex(index)}; }
    int ListIndex() const { return TimezoneIndexOfMinutes(minutesEast); }
    bool operator==(const TimeZone&) const = default;
};

// The days a request covers, first and last day included, as day numbers.
struct Period {
    std::int32_t startDay = 0;
    std::int32_t endDay = 0;

    std::int32_t Days() const { return endDay - startDay + 1; }
    bool operator==(const Period&) const = default;
};
// The start is checked first, as the window checks its date boxes in order.
std::optional<Refusal> CheckPeriod(const Period& period);

}  // namespace vlt

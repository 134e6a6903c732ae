#pragma once
// The transit commands as services: a front end builds a typed request
// (tables, search or show-all), hands it with an observer and a stop token to
// Run, and gets back how the run ended.  No window and no control is
// involved; the window and vlt-report build the same requests from their own
// inputs.
//
// A request carries the inputs as the user gave them (the dates as calendar
// dates), and the run checks them once, in the window's order and with its
// words, through the request rules: a refusal reaches the observer as its
// message and ends the run as TransitRunEnd::Refused.

#include <array>
#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>

#include "app/engine/position_source.h"
#include "app/engine/transit_scan.h"
#include "app/positions/request_rules.h"
#include "app/positions/vocabulary.h"
#include "app/support/service_host.h"

namespace vlt {

struct CalendarDate {
    int year = 2000;
    int month = 1;
    int day = 1;

    bool operator==(const CalendarDate&) const = default;
};

// What every transit request holds: the pair (program planet numbers, the
// Moon 10 included; the first may be Pluto only in a show-all series), the centricity, the period
// and the zone of the report's times.
struct TransitBasics {
    std::int16_t firstPlanet = kMars;
    std::int16_t secondPlanet = kJupiter;
    bool heliocentric = false;
    CalendarDate start;
    CalendarDate end{2000, 12, 31};
    // A position of the time-zone list; 0 stands for no zone chosen, which
    // the run refuses with the window's message.
    int timezoneIndex = kGmtIndex;
    // The zone's text in that list (as the report names it).
    std::string timezoneLabel = "GMT";

    bool operator==(const TransitBasics&) const = default;
};

// Transit tables of one pair over a period.
struct TablesRequest : TransitBasics {
    std::array<bool, 7> aspects{true, true, true, true, true, true, true};  // aspect b + 1
    std::array<int, 3> orbDegrees{10, 5, 2};                                // outer, middle, inner

    bool operator==(const TablesRequest&) const = default;
};

// The first transit of one aspect from the start (or the end) date on.
struct SearchRequest : TransitBasics {
    int aspect = kConjunction;  // 1..7
    int orbDegrees = 6;         // the outer orb, 3..15
    bool fromEnd = false;

    bool operator==(const SearchRequest&) const = default;
};

// One planet's tables with every planet of the other list, in list order.
struct ShowAllRequest : TablesRequest {
    // True keeps the first planet and pairs it with every planet of the
    // second list; false keeps the second and takes each planet of the first
    // list, then Pluto.
    bool keepFirst = true;
    // Pairs the kept planet with the Moon too, at the end of the series
    // (geocentric only).  Without it the Moon is paired only when it is the
    // kept planet, so that every other series reads as before.
    bool withMoon = false;

    bool operator==(const ShowAllRequest&) const = default;
};

// How a run ended.  Only Completed and SeriesEnded leave a whole report;
// every other end was told in a message.
enum class TransitRunEnd {
    Refused,      // a rule refused the request: its message was shown, nothing scanned
    Completed,    // the period was scanned and its transits written (a search: one found)
    NotFound,     // the period was scanned and held no transit: "Not found" was shown
    Stopped,      // ended by the stop token or "Stop?"
    DataFailed,   // a data file could not give a position: its message was shown
    SeriesEnded,  // show-all: every pair of the series was scanned or passed over
    PairRefused,  // show-all: the series went on, but a pair of it was refused
    BoxFull,      // the output box filled up before the report's end
};

struct TransitRunResult {
    TransitRunEnd end = TransitRunEnd::Refused;
    // The first rule that refused the request (in a show-all series, a
    // pair), with the words shown; a front end acts on its kind (the window
    // chooses GMT after NoTimezone).
    std::optional<Refusal> refusal;
    // A transit was entered, finished or not (a search that found one).
    bool transitRecorded = false;
    // The period as entered (day numbers, before the start is moved out of
    // a transit under way); 0 when a date was refused.
    std::int32_t enteredStart = 0;
    std::int32_t enteredEnd = 0;
    // What the run found, table by table, as data: the text, CSV, JSON and
    // chart are all made from these.
    TransitResults results;
};

// The day number of a calendar date; nothing when the calendar has no such
// day.
std::optional<std::int32_t> DayNumberOfDate(const CalendarDate& date);

// The planet texts of the window's lists for a request: "Sun" or "Earth" by
// the centricity, and "Pluto" for the first planet.
std::string PlanetListText(std::int16_t planet, bool heliocentric);

TransitRunResult Run(const TablesRequest& request, RunObserver& observer, std::stop_token stop,
                     PositionSource& positions = DefaultPositions());
TransitRunResult Run(const SearchRequest& request, RunObserver& observer, std::stop_token stop,
                     PositionSource& positions = DefaultPositions());
TransitRunResult Run(const ShowAllRequest& request, RunObserver& observer, std::stop_token stop,
                     PositionSource& positions = DefaultPositions());

}  // namespace vlt

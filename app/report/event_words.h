#pragma once
// The kinds of dated event a backtest opens or closes on, as the command line
// names them (--open, --close), and the days of their events.  One syntax for
// both options:
//
//   new-moon, first-quarter, full-moon, last-quarter
//   station-retrograde:PLANET, station-direct:PLANET      (Mercury .. Pluto)
//   ingress:BODY, ingress:BODY:SIGN                       (any sign, or one)
//   aspect:BODY:BODY:ASPECT                               (exact, geocentric)
//
// BODY is the Sun, the Moon or Mercury .. Pluto; "all" in a body's place
// stands for each body that has such events.  Every event is geocentric, as
// the finders of app/engine/sky_events.h give them.

#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "app/engine/sky_events.h"

namespace vlt {

// The lines of --help that describe EVENT.
extern const char* const kEventWordsHelp;

struct EventWord {
    std::string text;  // written back in full: "station-direct:Mars"
    SkyEventKind kind = SkyEventKind::Phase;
    Planet body = Planet::Sun;
    std::optional<Planet> other;  // aspects: the second body, later in the program's order
    std::optional<Aspect> aspect;
    std::optional<LunarPhase> phase;
    std::optional<Motion> motion;  // stations: the new motion
    std::optional<int> sign;       // ingresses into one sign: 0 Aries .. 11 Pisces
};

// Adds the kinds `value` names to `into` (several where a body is "all", each
// once); or one line that says what is wrong, naming `option`.
std::optional<std::string> ReadEventWord(const std::string& value, const char* option,
                                         std::vector<EventWord>& into);

// The universal-time dates (Julian day numbers) of the events of one kind
// from firstDay through lastDay, in time order; or the finder's one line
// when its positions do not cover the days.
struct EventDays {
    std::vector<std::int32_t> days;
    std::string failure;
    bool stopped = false;
};
EventDays DaysOfEvents(const EventWord& word, std::int32_t firstDay, std::int32_t lastDay,
                       std::stop_token stop = {});

}  // namespace vlt

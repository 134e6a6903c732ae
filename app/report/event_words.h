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

// The events the finder of a kind gives over the universal-time dates
// firstDay through lastDay: every kind with the same FinderKey gets the same
// list (the four phases, a planet's two stations), so a run finds it once.
std::string FinderKey(const EventWord& word);
SkyEventList FindEventsOf(const EventWord& word, std::int32_t firstDay, std::int32_t lastDay,
                          std::stop_token stop = {});

// The universal-time dates (Julian day numbers) of the list's events of the
// kind, in time order.
std::vector<std::int32_t> DaysOfEvents(const EventWord& word, const SkyEventList& events);

}  // namespace vlt

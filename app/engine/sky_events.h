#pragma once
// The events of the sky that are not transits of a planet pair: the Moon's
// phases, the stations of the planets, the sign ingresses, and the exact
// aspects of every pair of planets, each found as the root of a function of
// time on the program's own geocentric positions.  Times are universal-time
// Julian dates rounded to the whole minute.

#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "app/positions/vocabulary.h"

namespace vlt {

enum class SkyEventKind { Aspect, Phase, Station, Ingress };
enum class LunarPhase { New, FirstQuarter, Full, LastQuarter };
// A station's new motion; for an ingress, whether the body moved forward
// (direct) or back (retrograde) into the sign.
enum class Motion { Direct, Retrograde };

struct SkyEvent {
    double jd = 0.0;  // universal time, a whole minute
    SkyEventKind kind = SkyEventKind::Phase;
    Planet body = Planet::Sun;    // the moving body: the Moon for a phase
    std::optional<Planet> other;  // the second body of an aspect; the Sun for a phase
    std::optional<Aspect> aspect;
    std::optional<LunarPhase> phase;
    std::optional<Motion> motion;  // stations and ingresses
    std::optional<int> sign;       // ingresses: 0 Aries .. 11 Pisces, the sign entered
    double longitude = 0.0;        // degrees [0, 360) of `body` at the event
    bool operator==(const SkyEvent&) const = default;
};

// A list of events in time order, or why it could not be made.
struct SkyEventList {
    std::vector<SkyEvent> events;
    std::string failure;  // one line; empty when the list is whole
    bool stopped = false;
};

// Universal-time Julian dates: events at or after `from` and before `to`.
struct EventSpan {
    double from = 0.0;
    double to = 0.0;
};

// "Aries" .. "Pisces".
const char* SignName(int sign);
// "new", "first", "full", "last" and "New moon", "First quarter", ...
const char* PhaseWord(LunarPhase phase);
const char* PhaseTitle(LunarPhase phase);

// Whether the body has stations (Mercury .. Pluto) or ingresses (every body
// but the Earth).
bool HasStations(Planet p);

// Each finder also checks that the positions cover the span and names the
// first body that does not ("Pluto has no positions after 2099-12-31.").
SkyEventList FindLunarPhases(EventSpan span, std::stop_token stop = {});
SkyEventList FindStations(Planet planet, EventSpan span, std::stop_token stop = {});
SkyEventList FindIngresses(Planet planet, EventSpan span, std::stop_token stop = {});
// The exact aspects of one pair (first before second in the program's
// order); every aspect of the list, both sides of the ones that have two.
SkyEventList FindExactAspects(Planet first, Planet second, const std::vector<Aspect>& aspects,
                              EventSpan span, std::stop_token stop = {});

// The message for a body whose positions do not reach the span; "" when
// they do.  Checks the span's first and last minute.
std::string SpanProblem(Planet p, EventSpan span);

// A zero of a wrapped signal: where it passes 0 upwards (rising) or
// downwards.
struct Crossing {
    double jd = 0.0;
    bool rising = true;
};
// Every place where g, wrapped into [-period/2, period/2), passes through 0
// within the span, to a tenth of a second; `bound` limits |dg/dt| (units a
// day).  Steps cover at most a quarter period's worth of motion, so that a
// jump of the wrap is never taken for a zero, and a step whose ends are near
// enough to 0 for the signal to have gone there and back is halved down to
// a minute: a retrograde loop cannot cross and recross unseen.  Zeros less
// than a minute apart may be missed in pairs.
std::vector<Crossing> WrappedZeros(std::function<double(double)> g, double period, double bound,
                                   EventSpan span, std::stop_token stop = {});

// Merges lists into one in time order (kind, then bodies, breaking ties).
void SortEvents(std::vector<SkyEvent>& events);

}  // namespace vlt

#include "app/report/event_words.h"

#include <algorithm>
#include <cmath>

#include "app/positions/request_rules.h"
#include "app/report/option_values.h"

namespace vlt {

const char* const kEventWordsHelp =
    "EVENT: new-moon, first-quarter, full-moon,\n"
    "last-quarter, station-retrograde:PLANET,\n"
    "station-direct:PLANET (Mercury to Pluto),\n"
    "ingress:BODY (any sign), ingress:BODY:SIGN,\n"
    "aspect:BODY:BODY:ASPECT (exact); BODY: Sun, Moon,\n"
    "Mercury to Pluto, or all for each; geocentric, on\n"
    "the event's universal-time date";

namespace {

const char* const kSigns[] = {"Aries", "Taurus",  "Gemini",      "Cancer",    "Leo",      "Virgo",
                              "Libra", "Scorpio", "Sagittarius", "Capricorn", "Aquarius", "Pisces"};

struct PhaseWordEntry {
    const char* word;
    LunarPhase phase;
};
const PhaseWordEntry kPhases[] = {{"new-moon", LunarPhase::New},
                                  {"first-quarter", LunarPhase::FirstQuarter},
                                  {"full-moon", LunarPhase::Full},
                                  {"last-quarter", LunarPhase::LastQuarter}};

std::string BodyName(Planet p) { return PlanetName(Number(p), false, false); }

// The bodies with geocentric events, in the program's order.
std::vector<Planet> Bodies() {
    std::vector<Planet> bodies;
    for (int p = kSun; p <= kMoon; ++p) bodies.push_back(static_cast<Planet>(p));
    std::stable_sort(bodies.begin(), bodies.end(), [](Planet a, Planet b) {
        return PlanetOrderRank(Number(a)) < PlanetOrderRank(Number(b));
    });
    return bodies;
}

// The bodies one slot names: one, or each for "all".
std::optional<std::string> ReadBodies(const std::string& word, std::vector<Planet>& into) {
    into.clear();
    if (Lower(word) == "all") {
        into = Bodies();
        return std::nullopt;
    }
    const int p = PlanetNumber(word);
    if (p == 0 || Lower(word) == "earth") {
        return "unknown body \"" + word + "\" (Sun, Moon, Mercury to Pluto, or all)";
    }
    into.push_back(static_cast<Planet>(p));
    return std::nullopt;
}

std::optional<std::string> ReadStation(const std::vector<std::string>& parts, Motion motion,
                                       std::vector<EventWord>& into) {
    if (parts.size() != 2) return std::string("a station takes one planet, as station-direct:Mars");
    std::vector<Planet> bodies;
    if (auto problem = ReadBodies(parts[1], bodies)) return problem;
    const bool all = bodies.size() > 1;
    for (Planet p : bodies) {
        if (!HasStations(p)) {
            if (all) continue;
            return "the " + BodyName(p) + " has no stations (Mercury to Pluto have)";
        }
        EventWord w;
        w.kind = SkyEventKind::Station;
        w.body = p;
        w.motion = motion;
        w.text = parts[0] + ":" + BodyName(p);
        into.push_back(w);
    }
    return std::nullopt;
}

std::optional<std::string> ReadIngress(const std::vector<std::string>& parts,
                                       std::vector<EventWord>& into) {
    if (parts.size() != 2 && parts.size() != 3) {
        return std::string("an ingress takes a body and may take a sign, as ingress:Mars:Aries");
    }
    std::vector<Planet> bodies;
    if (auto problem = ReadBodies(parts[1], bodies)) return problem;
    std::optional<int> sign;
    if (parts.size() == 3) {
        for (int s = 0; s < 12; ++s) {
            if (Lower(parts[2]) == Lower(kSigns[s])) sign = s;
        }
        if (!sign) return "unknown sign \"" + parts[2] + "\" (Aries to Pisces)";
    }
    for (Planet p : bodies) {
        EventWord w;
        w.kind = SkyEventKind::Ingress;
        w.body = p;
        w.sign = sign;
        w.text = "ingress:" + BodyName(p);
        if (sign) w.text.append(":").append(kSigns[*sign]);
        into.push_back(w);
    }
    return std::nullopt;
}

std::optional<std::string> ReadAspect(const std::vector<std::string>& parts,
                                      std::vector<EventWord>& into) {
    if (parts.size() != 4) {
        return std::string("an aspect takes two bodies and an aspect, as aspect:Mars:Jupiter:sqr");
    }
    std::vector<Planet> firsts;
    std::vector<Planet> seconds;
    if (auto problem = ReadBodies(parts[1], firsts)) return problem;
    if (auto problem = ReadBodies(parts[2], seconds)) return problem;
    const int a = AspectNumber(parts[3]);
    if (a == 0) return "unknown aspect \"" + parts[3] + "\" (" + AspectChoices() + ")";
    if (firsts.size() == 1 && firsts == seconds) return std::string("an aspect needs two bodies");
    const std::size_t before = into.size();
    for (Planet p : firsts) {
        for (Planet q : seconds) {
            if (p == q) continue;
            EventWord w;
            w.kind = SkyEventKind::Aspect;
            w.body = PlanetsInOrder(Number(p), Number(q)) ? p : q;
            w.other = w.body == p ? q : p;
            w.aspect = static_cast<Aspect>(a);
            w.text = "aspect:" + BodyName(w.body) + ":" + BodyName(*w.other) + ":" +
                     AspectOptionNames()[static_cast<std::size_t>(a - 1)];
            const bool seen =
                std::any_of(into.begin() + static_cast<std::ptrdiff_t>(before), into.end(),
                            [&](const EventWord& o) { return o.text == w.text; });
            if (!seen) into.push_back(w);
        }
    }
    return std::nullopt;
}

std::optional<std::string> ReadKind(const std::string& value, std::vector<EventWord>& into) {
    for (const PhaseWordEntry& entry : kPhases) {
        if (Lower(value) != entry.word) continue;
        EventWord w;
        w.kind = SkyEventKind::Phase;
        w.body = Planet::Moon;
        w.other = Planet::Sun;
        w.phase = entry.phase;
        w.text = entry.word;
        into.push_back(w);
        return std::nullopt;
    }
    std::vector<std::string> parts = Split(value, ':');
    parts[0] = Lower(parts[0]);
    if (parts[0] == "station-retrograde") return ReadStation(parts, Motion::Retrograde, into);
    if (parts[0] == "station-direct") return ReadStation(parts, Motion::Direct, into);
    if (parts[0] == "ingress") return ReadIngress(parts, into);
    if (parts[0] == "aspect") return ReadAspect(parts, into);
    return std::string(
        "unknown event (new-moon, first-quarter, full-moon, last-quarter, "
        "station-retrograde:PLANET, station-direct:PLANET, ingress:BODY[:SIGN], "
        "aspect:BODY:BODY:ASPECT)");
}

bool Matches(const EventWord& w, const SkyEvent& e) {
    if (w.phase && e.phase != w.phase) return false;
    if (w.motion && e.motion != w.motion) return false;
    if (w.sign && e.sign != w.sign) return false;
    return true;
}

}  // namespace

std::optional<std::string> ReadEventWord(const std::string& value, const char* option,
                                         std::vector<EventWord>& into) {
    std::optional<std::string> problem =
        value.empty() ? std::optional<std::string>("no event given") : ReadKind(value, into);
    if (!problem) return std::nullopt;
    return std::string(option) + " \"" + value + "\": " + *problem;
}

std::string FinderKey(const EventWord& word) {
    switch (word.kind) {
        case SkyEventKind::Phase: return "phases";
        case SkyEventKind::Station: return "stations:" + BodyName(word.body);
        case SkyEventKind::Ingress: return "ingresses:" + BodyName(word.body);
        case SkyEventKind::Aspect: break;
    }
    return word.text;
}

SkyEventList FindEventsOf(const EventWord& word, std::int32_t firstDay, std::int32_t lastDay,
                          std::stop_token stop) {
    // A day number names the day from noon to noon; the events of its
    // universal-time date run from the midnight before to the one after.
    const EventSpan span{firstDay - 0.5, lastDay + 0.5};
    switch (word.kind) {
        case SkyEventKind::Phase: return FindLunarPhases(span, stop);
        case SkyEventKind::Station: return FindStations(word.body, span, stop);
        case SkyEventKind::Ingress: return FindIngresses(word.body, span, stop);
        case SkyEventKind::Aspect: break;
    }
    return FindExactAspects(word.body, *word.other, {*word.aspect}, span, stop);
}

std::vector<std::int32_t> DaysOfEvents(const EventWord& word, const SkyEventList& events) {
    std::vector<std::int32_t> days;
    for (const SkyEvent& e : events.events) {
        if (Matches(word, e)) days.push_back(static_cast<std::int32_t>(std::floor(e.jd + 0.5)));
    }
    std::sort(days.begin(), days.end());
    return days;
}

}  // namespace vlt

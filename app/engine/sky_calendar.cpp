#include "app/engine/sky_calendar.h"

#include <algorithm>
#include <string>

namespace vlt {

namespace {

// One finder's part of the calendar, and the bodies whose data it needs in
// the order it checks them.
struct Finder {
    std::function<SkyEventList(EventSpan, std::stop_token)> find;
    std::vector<Planet> bodies;
};

std::vector<Finder> Finders(const CalendarRequest& r) {
    std::vector<Finder> all;
    if (r.kinds.phases) all.push_back({FindLunarPhases, {Planet::Sun, Planet::Moon}});
    for (int p = kSun; p <= kPluto; ++p) {
        const Planet planet = static_cast<Planet>(p);
        if (r.kinds.stations && HasStations(planet)) {
            all.push_back({[planet](EventSpan s, std::stop_token t) {
                               return FindStations(planet, s, std::move(t));
                           },
                           {planet}});
        }
        if (r.kinds.ingresses) {
            all.push_back({[planet](EventSpan s, std::stop_token t) {
                               return FindIngresses(planet, s, std::move(t));
                           },
                           {planet}});
        }
        for (int q = p + 1; r.kinds.aspects && !r.aspects.empty() && q <= kPluto; ++q) {
            const Planet other = static_cast<Planet>(q);
            all.push_back({[planet, other, aspects = r.aspects](EventSpan s, std::stop_token t) {
                               return FindExactAspects(planet, other, aspects, s, std::move(t));
                           },
                           {planet, other}});
        }
    }
    if (r.kinds.ingresses) {
        all.push_back({[](EventSpan s, std::stop_token t) {
                           return FindIngresses(Planet::Moon, s, std::move(t));
                       },
                       {Planet::Moon}});
    }
    return all;
}

// The refusal the first finder would give, before any searching: a period
// past the end of Pluto's table is said at once, not after the other bodies'
// years of events.
std::string FirstSpanProblem(const std::vector<Finder>& finders, EventSpan span) {
    std::vector<Planet> checked;
    for (const Finder& f : finders) {
        for (Planet p : f.bodies) {
            if (std::find(checked.begin(), checked.end(), p) != checked.end()) continue;
            checked.push_back(p);
            if (std::string problem = SpanProblem(p, span); !problem.empty()) return problem;
        }
    }
    return std::string();
}

}  // namespace

std::vector<Aspect> DefaultCalendarAspects() {
    return {Aspect::Conjunction, Aspect::Opposition, Aspect::Square, Aspect::Trine,
            Aspect::Sextile};
}

EventSpan CalendarSpan(const CalendarRequest& request) {
    return {request.zone.StartOfDay(request.first), request.zone.StartOfDay(request.last, 1)};
}

SkyEventList FindCalendar(const CalendarRequest& request, std::stop_token stop,
                          const CalendarProgress& progress) {
    SkyEventList all;
    const EventSpan span = CalendarSpan(request);
    if (span.to <= span.from) {
        all.failure = "The end date is before the start date.";
        return all;
    }
    const std::vector<Finder> finders = Finders(request);
    all.failure = FirstSpanProblem(finders, span);
    if (!all.failure.empty()) return all;
    const int total = static_cast<int>(finders.size());
    for (int k = 0; k < total; ++k) {
        SkyEventList one = finders[static_cast<std::size_t>(k)].find(span, stop);
        if (!one.failure.empty()) {
            all.events.clear();
            all.failure = one.failure;
            return all;
        }
        const bool goOn = !progress || progress(k + 1, total);
        if (one.stopped || stop.stop_requested() || !goOn) {
            all.events.clear();
            all.stopped = true;
            return all;
        }
        all.events.insert(all.events.end(), one.events.begin(), one.events.end());
    }
    SortEvents(all.events);
    return all;
}

}  // namespace vlt

#include "app/engine/sky_calendar.h"

namespace vlt {

namespace {

// One finder's part of the calendar.
using Finder = std::function<SkyEventList(EventSpan, std::stop_token)>;

std::vector<Finder> Finders(const CalendarRequest& r) {
    std::vector<Finder> all;
    if (r.kinds.phases) all.emplace_back(FindLunarPhases);
    for (int p = kSun; p <= kPluto; ++p) {
        const Planet planet = static_cast<Planet>(p);
        if (r.kinds.stations && HasStations(planet)) {
            all.emplace_back([planet](EventSpan s, std::stop_token t) {
                return FindStations(planet, s, std::move(t));
            });
        }
        if (r.kinds.ingresses) {
            all.emplace_back([planet](EventSpan s, std::stop_token t) {
                return FindIngresses(planet, s, std::move(t));
            });
        }
        for (int q = p + 1; r.kinds.aspects && !r.aspects.empty() && q <= kPluto; ++q) {
            const Planet other = static_cast<Planet>(q);
            all.emplace_back([planet, other, aspects = r.aspects](EventSpan s, std::stop_token t) {
                return FindExactAspects(planet, other, aspects, s, std::move(t));
            });
        }
    }
    if (r.kinds.ingresses) {
        all.emplace_back([](EventSpan s, std::stop_token t) {
            return FindIngresses(Planet::Moon, s, std::move(t));
        });
    }
    return all;
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
    const int total = static_cast<int>(finders.size());
    for (int k = 0; k < total; ++k) {
        SkyEventList one = finders[static_cast<std::size_t>(k)](span, stop);
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

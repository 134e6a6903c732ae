#pragma once
// One calendar of the sky for a period: the exact aspects of every pair of
// Sun .. Pluto (geocentric), the lunar phases, the stations and the sign
// ingresses in time order.  The report's calendar command and the window's
// calendar dialog both ask for it through this request.

#include <functional>
#include <stop_token>
#include <vector>

#include "app/engine/event_zone.h"
#include "app/engine/sky_events.h"

namespace vlt {

struct CalendarKinds {
    bool aspects = true, phases = true, stations = true, ingresses = true;
    bool operator==(const CalendarKinds&) const = default;
};

// The aspects a calendar shows unless told otherwise: the five major ones.
std::vector<Aspect> DefaultCalendarAspects();

struct CalendarRequest {
    CalendarDay first;  // from 0h of this day in the zone
    CalendarDay last;   // to the end of this day in the zone
    EventZone zone = EventZone::Fixed(0, "GMT");
    CalendarKinds kinds;
    std::vector<Aspect> aspects = DefaultCalendarAspects();
};

// 0h of the first day to 0h after the last, in the request's zone.
EventSpan CalendarSpan(const CalendarRequest& request);

// How far the search is: finders run of all, called after each; false
// from it stops the search as the token does.
using CalendarProgress = std::function<bool(int done, int total)>;

// The events in time order; a failure (the period outside the data, the
// end before the start) in `failure`, a stopped search marked `stopped`
// with what was found so far dropped.
SkyEventList FindCalendar(const CalendarRequest& request, std::stop_token stop = {},
                          const CalendarProgress& progress = nullptr);

}  // namespace vlt

#pragma once
// The formats of the report's event lists (phases, stations, ingresses,
// calendar): those both front ends write, and JSON, which only the report
// writes.

#include <ostream>
#include <vector>

#include "app/engine/event_formats.h"

namespace vlt {

enum class EventFormat { Text, Csv, Json, Ics };

void WriteEventsJson(std::ostream& out, const std::vector<SkyEvent>& events, const EventZone& zone);

}  // namespace vlt

#pragma once
// The formats of the event lists (phases, stations, ingresses, calendar):
// text lines, CSV and JSON with one ISO 8601 time and its offset per event,
// and iCalendar (RFC 5545) for calendar programs.

#include <ctime>
#include <ostream>
#include <string>
#include <vector>

#include "app/engine/sky_events.h"
#include "app/report/event_zone.h"

namespace vlt {

enum class EventFormat { Text, Csv, Json, Ics };

// "Mars square Jupiter (exact)", "Full moon", "Mercury stations retrograde",
// "Mars enters Taurus", "Mars enters Aries (retrograde)".
std::string EventSummary(const SkyEvent& e);
// "17°03' Capricorn" (UTF-8 degree sign).
std::string ZodiacPosition(double longitude);

// The JSON record's one name for the kind, aspect, phase and direction.
const char* KindWord(SkyEventKind kind);

// `title` heads the text format only ("Lunar phases", ...).
void WriteEventsText(std::ostream& out, const std::vector<SkyEvent>& events, const EventZone& zone,
                     const std::string& title);
void WriteEventsCsv(std::ostream& out, const std::vector<SkyEvent>& events, const EventZone& zone);
void WriteEventsJson(std::ostream& out, const std::vector<SkyEvent>& events, const EventZone& zone);
// Times in UTC as RFC 5545 wants them; `stamp` is DTSTAMP (seconds since
// 1970).
void WriteEventsIcs(std::ostream& out, const std::vector<SkyEvent>& events, std::time_t stamp);

// A content line of RFC 5545 folded after 75 octets (CRLF and a space),
// never inside a UTF-8 character; the CRLF at its end included.
std::string FoldedLine(const std::string& line);
// TEXT escaped: backslash, semicolon, comma and line breaks.
std::string IcsText(const std::string& text);

}  // namespace vlt

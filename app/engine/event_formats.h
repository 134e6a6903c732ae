#pragma once
// The formats of the event lists that both front ends write (the report's
// phases, stations, ingresses and calendar, the window's calendar): text
// lines, CSV with one ISO 8601 time and its offset per event, iCalendar
// (RFC 5545) for calendar programs, and the words each is made of.

#include <ctime>
#include <ostream>
#include <string>
#include <vector>

#include "app/engine/event_zone.h"
#include "app/engine/sky_events.h"

namespace vlt {

// "Mars square Jupiter (exact)", "Full moon", "Mercury stations retrograde",
// "Mars enters Taurus", "Mars enters Aries (retrograde)".
std::string EventSummary(const SkyEvent& e);
// "17°03' Capricorn" (UTF-8 degree sign).
std::string ZodiacPosition(double longitude);
// "Mars", "Moon": the geocentric name.
std::string BodyName(Planet p);

// The records' one name for the kind, aspect ("sqr") and direction.
const char* KindWord(SkyEventKind kind);
std::string AspectWord(Aspect a);
const char* MotionWord(Motion m);
// The longitude to a thousandth of a degree, as the records give it.
double RoundedLongitude(double degrees);
// "2027-01-07 15:24" in the zone (no offset).
std::string ClockText(const LocalTime& t);

// `title` heads the text format only ("Lunar phases", ...).
void WriteEventsText(std::ostream& out, const std::vector<SkyEvent>& events, const EventZone& zone,
                     const std::string& title);
void WriteEventsCsv(std::ostream& out, const std::vector<SkyEvent>& events, const EventZone& zone);
// Times in UTC as RFC 5545 wants them; `stamp` is DTSTAMP (seconds since
// 1970); `product` names the writer in PRODID ("vlt-report events").
void WriteEventsIcs(std::ostream& out, const std::vector<SkyEvent>& events, std::time_t stamp,
                    const std::string& product = "vlt-report events");

// A content line of RFC 5545 folded after 75 octets (CRLF and a space),
// never inside a UTF-8 character; the CRLF at its end included.
std::string FoldedLine(const std::string& line);
// TEXT escaped: backslash, semicolon, comma and line breaks.
std::string IcsText(const std::string& text);

}  // namespace vlt

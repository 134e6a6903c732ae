#pragma once
// The window's calendar of the sky without the toolkit: the rows its table
// shows (the time in the chosen zone, the event, the body's position), the
// number each column sorts by, the export of the found events to an
// iCalendar or CSV file, and the dialog's choices kept with the settings.

#include <array>
#include <ctime>
#include <string>
#include <vector>

#include "app/engine/sky_calendar.h"

namespace vlt {

struct CalendarRow {
    SkyEvent event;
    std::string time;      // "2027-01-07 15:24 -05:00", in the zone
    std::string summary;   // "Mars square Jupiter (exact)"
    std::string position;  // "Moon 17°03' Capricorn"
    int summaryRank = 0;   // the summary's place in alphabetical order
};

enum class CalendarColumn { Time, Event, Position };
inline constexpr int kCalendarColumns = 3;

const std::string& CalendarHeading(int column);
const std::string& CalendarExplanation(int column);
std::vector<CalendarRow> CalendarRows(const std::vector<SkyEvent>& events, const EventZone& zone);
std::string CalendarCell(const CalendarRow& row, int column);
// Time by instant, the event by its text, the position by longitude.
double CalendarSortKey(const CalendarRow& row, int column);

enum class CalendarFile { Ics, Csv };
// Writes the events to `path` at once (the old file stays whole on a
// failure); "" when written, else one sentence that names the file and the
// reason.  `stamp` is the iCalendar DTSTAMP (seconds since 1970).
std::string ExportCalendar(const std::string& path, const std::vector<SkyEvent>& events,
                           const EventZone& zone, CalendarFile format, std::time_t stamp);

// What the dialog remembers between runs.  The period is not kept: it
// starts at today.
struct CalendarChoices {
    CalendarKinds kinds;
    std::array<bool, 7> aspects{true, true, true, true, true, false, false};
    std::string zone;  // "" for the window's zone
};
CalendarChoices StoredCalendarChoices();
bool StoreCalendarChoices(const CalendarChoices& choices);
std::vector<Aspect> AspectsOf(const std::array<bool, 7>& checked);

}  // namespace vlt

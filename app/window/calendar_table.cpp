#include "app/window/calendar_table.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <sstream>

#include "app/engine/event_formats.h"
#include "app/support/atomic_file.h"
#include "app/window/state_keys.h"

namespace vlt {

namespace {

const std::array<std::string, kCalendarColumns> kHeadings = {"Time", "Event", "Position"};
const std::array<std::string, kCalendarColumns> kExplanations = {
    "When the event is exact, to the minute, in the chosen zone with its offset from GMT",
    "The aspect, lunar phase, station or sign ingress",
    "Where the moving body stands then: geocentric, tropical zodiac"};

// "1101": a flag per character, as the other check boxes are kept.
std::string Flags(std::initializer_list<bool> flags) {
    std::string text;
    for (bool f : flags) text += f ? '1' : '0';
    return text;
}

bool FlagAt(const std::string& text, std::size_t k, bool fallback) {
    return k < text.size() ? text[k] == '1' : fallback;
}

}  // namespace

const std::string& CalendarHeading(int column) {
    return kHeadings[static_cast<std::size_t>(column)];
}

const std::string& CalendarExplanation(int column) {
    return kExplanations[static_cast<std::size_t>(column)];
}

std::vector<CalendarRow> CalendarRows(const std::vector<SkyEvent>& events, const EventZone& zone) {
    std::vector<CalendarRow> rows;
    rows.reserve(events.size());
    for (const SkyEvent& e : events) {
        const LocalTime t = ToLocal(e.jd, zone);
        rows.push_back({e, ClockText(t) + " " + OffsetText(t.offsetMinutes), EventSummary(e),
                        BodyName(e.body) + " " + ZodiacPosition(e.longitude), 0});
    }
    // A number per summary for the model's numeric sort: equal texts share it.
    std::vector<std::size_t> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [&rows](std::size_t a, std::size_t b) { return rows[a].summary < rows[b].summary; });
    int rank = 0;
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (k > 0 && rows[order[k]].summary != rows[order[k - 1]].summary) ++rank;
        rows[order[k]].summaryRank = rank;
    }
    return rows;
}

std::string CalendarCell(const CalendarRow& row, int column) {
    switch (static_cast<CalendarColumn>(column)) {
        case CalendarColumn::Time: return row.time;
        case CalendarColumn::Event: return row.summary;
        case CalendarColumn::Position: return row.position;
    }
    return std::string();
}

double CalendarSortKey(const CalendarRow& row, int column) {
    switch (static_cast<CalendarColumn>(column)) {
        case CalendarColumn::Time: return row.event.jd;
        case CalendarColumn::Event: return row.summaryRank;
        case CalendarColumn::Position: return row.event.longitude;
    }
    return 0.0;
}

std::string ExportCalendar(const std::string& path, const std::vector<SkyEvent>& events,
                           const EventZone& zone, CalendarFile format, std::time_t stamp) {
    std::ostringstream bytes;
    if (format == CalendarFile::Ics) {
        WriteEventsIcs(bytes, events, stamp, "vlt1056 calendar");
    } else {
        WriteEventsCsv(bytes, events, zone);
    }
    const int error = WriteFileAtomically(path, bytes.str(), 0644);
    if (error == 0) return std::string();
    return "The calendar could not be written to " + path + ": " + std::strerror(error) + ".";
}

CalendarChoices StoredCalendarChoices() {
    CalendarChoices c;
    const std::string kinds = StoredStateValue(StateKey::CalendarKinds, 0, "");
    c.kinds = {FlagAt(kinds, 0, true), FlagAt(kinds, 1, true), FlagAt(kinds, 2, true),
               FlagAt(kinds, 3, true)};
    const std::string aspects = StoredStateValue(StateKey::CalendarTypes, 0, "");
    for (std::size_t k = 0; k < c.aspects.size(); ++k) {
        c.aspects[k] = FlagAt(aspects, k, c.aspects[k]);
    }
    c.zone = StoredStateValue(StateKey::CalendarZone, 0, "");
    return c;
}

bool StoreCalendarChoices(const CalendarChoices& c) {
    const CalendarKinds& k = c.kinds;
    const auto& a = c.aspects;
    bool stored = StoreStateValue(StateKey::CalendarKinds, 0,
                                  Flags({k.aspects, k.phases, k.stations, k.ingresses}));
    stored = StoreStateValue(StateKey::CalendarTypes, 0,
                             Flags({a[0], a[1], a[2], a[3], a[4], a[5], a[6]})) &&
             stored;
    return StoreStateValue(StateKey::CalendarZone, 0, c.zone) && stored;
}

std::vector<Aspect> AspectsOf(const std::array<bool, 7>& checked) {
    std::vector<Aspect> aspects;
    for (std::size_t k = 0; k < checked.size(); ++k) {
        if (checked[k]) aspects.push_back(*AspectOfNumber(static_cast<int>(k) + 1));
    }
    return aspects;
}

}  // namespace vlt

#pragma once
// What the event commands (phases, stations, ingresses, calendar) share:
// the period and zone options, the --planet reader, the start of the
// positions, and the writing of a list in the chosen format.

#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "app/engine/event_zone.h"
#include "app/engine/sky_events.h"
#include "app/report/command_line.h"
#include "app/report/event_formats.h"

namespace vlt {

// The option table rows every event command has.
OptionSpec StartOption();
OptionSpec EndOption();
OptionSpec ZoneOption();
// --format with the formats named in `choices` ("text|csv|json").
OptionSpec FormatOption(const char* choices);

struct EventOptions {
    EventSpan span;  // 0h of the start day to 0h after the end day, in the zone
    CalendarDay first, last;
    EventZone zone = EventZone::Fixed(0, "GMT");
    EventFormat format = EventFormat::Text;
};

// Reads --start, --end, --tz and --format; `ics` says whether iCalendar is
// offered.  Nothing, and `error` one line, for a bad value.
std::optional<EventOptions> ReadEventOptions(const CommandLine& line, bool ics, std::string& error);

// --planet: one body or "all" (the bodies of `all`); the Moon by name too.
std::optional<std::vector<Planet>> ReadPlanets(const CommandLine& line,
                                               const std::vector<Planet>& all, std::string& error);

// Loads the data folder and the Pluto tables (their messages go to
// io.messages).
void StartPositions(CommandIo& io);

// One line "vlt-report: ..." on io.messages and the status.
int Refuse(CommandIo& io, const std::string& why, int status);

// The events in the chosen format; a finder's failure is refused (1).
int WriteEventList(const SkyEventList& list, const EventOptions& options, const std::string& title,
                   CommandIo& io);

// A command of one kind of event of a body (stations, ingresses): the events
// `find` finds for each body of --planet (one, or every one of `bodies`) in
// one list under `title`; the first body that cannot be searched ends it.
using BodyEventFinder = SkyEventList (*)(Planet, EventSpan, std::stop_token);
int RunBodyEvents(const CommandLine& line, CommandIo& io, const std::vector<Planet>& bodies,
                  BodyEventFinder find, const std::string& title);

}  // namespace vlt

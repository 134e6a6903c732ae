// vlt-report calendar: the exact aspects of every pair of Sun .. Pluto, the
// lunar phases, the stations and the sign ingresses of a period in one list
// in time order.
#include <algorithm>

#include "app/engine/sky_calendar.h"
#include "app/report/event_command.h"
#include "app/report/event_commands.h"
#include "app/report/report_run.h"

namespace vlt {

namespace {

const CommandSpec& CalendarSpec() {
    static const CommandSpec kSpec = {
        "calendar",
        "The events of a period in one list in time order: the exact aspects of\n"
        "every pair of Sun .. Pluto (geocentric), the lunar phases, the stations\n"
        "and the sign ingresses (Sun, Moon, Mercury .. Pluto).",
        {"calendar --start 2027-01-01 --end 2027-03-31 --tz America/New_York --format ics",
         "calendar --start 2027-01-01 --end 2027-01-31 --kinds phases,stations"},
        {StartOption(),
         EndOption(),
         ZoneOption(),
         {"--kinds", "LIST",
          "kinds of event, comma-separated: aspects, phases, stations,\n"
          "ingresses; default all four",
          "--kinds aspects,phases"},
         {"--aspects", "LIST",
          "aspects of --kinds aspects, comma-separated: con, opp, sqr, tri,\n"
          "sxt, ssx, qui; default con,opp,sqr,tri,sxt",
          "--aspects con,opp"},
         FormatOption("text|csv|json|ics")},
    };
    return kSpec;
}

std::optional<CalendarKinds> ReadKinds(const CommandLine& line, std::string& error) {
    const std::optional<std::string> text = line.Value("--kinds");
    if (!text) return CalendarKinds{};
    CalendarKinds k{false, false, false, false};
    for (const std::string& word : Split(*text, ',')) {
        const std::optional<bool CalendarKinds::*> kind =
            Choice<bool CalendarKinds::*>(word, {{"aspects", &CalendarKinds::aspects},
                                                 {"phases", &CalendarKinds::phases},
                                                 {"stations", &CalendarKinds::stations},
                                                 {"ingresses", &CalendarKinds::ingresses}});
        if (!kind) {
            error = "--kinds: \"" + word + "\" is not one of aspects, phases, stations, ingresses";
            return std::nullopt;
        }
        k.*(*kind) = true;
    }
    return k;
}

std::optional<std::vector<Aspect>> ReadAspects(const CommandLine& line, std::string& error) {
    const std::string text = line.Value("--aspects").value_or("con,opp,sqr,tri,sxt");
    std::vector<Aspect> aspects;
    for (const std::string& word : Split(text, ',')) {
        const std::optional<Aspect> a = AspectOfNumber(AspectNumber(word));
        if (!a) {
            error = "--aspects: \"" + word + "\" is not one of " + AspectChoices();
            return std::nullopt;
        }
        if (std::find(aspects.begin(), aspects.end(), *a) == aspects.end()) aspects.push_back(*a);
    }
    return aspects;
}

int RunCalendar(const CommandLine& line, CommandIo& io) {
    std::string error;
    const std::optional<CalendarKinds> kinds = ReadKinds(line, error);
    const std::optional<std::vector<Aspect>> aspects =
        kinds ? ReadAspects(line, error) : std::nullopt;
    const std::optional<EventOptions> options =
        aspects ? ReadEventOptions(line, true, error) : std::nullopt;
    if (!options) return Refuse(io, error + " (see --help)", kReportUsage);
    StartPositions(io);
    CalendarRequest request;
    request.first = options->first;
    request.last = options->last;
    request.zone = options->zone;
    request.kinds = *kinds;
    request.aspects = *aspects;
    return WriteEventList(FindCalendar(request), *options, "Calendar", io);
}

}  // namespace

ReportCommandEntry CalendarCommand() { return {CalendarSpec, RunCalendar}; }

}  // namespace vlt

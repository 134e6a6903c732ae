#include "app/report/event_command.h"

#include <ctime>

#include "app/positions/pluto_tables.h"
#include "app/positions/positions.h"
#include "app/report/report_run.h"
#include "app/support/message_box.h"

namespace vlt {

namespace {

// The Pluto tables' start-up message as one line of the report's messages.
class MessageLines : public MessageBoxes {
public:
    explicit MessageLines(std::ostream& out) : out_(out) {}
    MsgResult Show(const std::string& text, const std::string&, MsgButtons, MsgIcon) override {
        out_ << "vlt-report: " << text << '\n';
        return MsgResult::Ok;
    }

private:
    std::ostream& out_;
};

std::optional<CalendarDay> ReadDay(const CommandLine& line, const char* name, std::string& error) {
    const std::optional<std::string> text = line.Value(name);
    if (!text) {
        error = std::string(name) + " is required";
        return std::nullopt;
    }
    const std::optional<ReportDate> day = ParseDate(*text);
    if (!day) {
        error = std::string(name) + " \"" + *text + "\" is no date (YYYY-MM-DD)";
        return std::nullopt;
    }
    return CalendarDay{day->year, day->month, day->day};
}

std::optional<EventFormat> ReadFormat(const CommandLine& line, bool ics, std::string& error) {
    const std::string text = line.Value("--format").value_or("text");
    std::optional<EventFormat> f = Choice<EventFormat>(text, {{"text", EventFormat::Text},
                                                              {"csv", EventFormat::Csv},
                                                              {"json", EventFormat::Json},
                                                              {"ics", EventFormat::Ics}});
    if (!f || (*f == EventFormat::Ics && !ics)) {
        error = "--format \"" + text + "\" is not one of " +
                (ics ? "text, csv, json, ics" : "text, csv, json");
        return std::nullopt;
    }
    return f;
}

}  // namespace

OptionSpec StartOption() {
    return {"--start", "YYYY-MM-DD", "first day of the period (from 0h in the zone); required",
            "--start 2027-01-01"};
}

OptionSpec EndOption() {
    return {"--end", "YYYY-MM-DD", "last day of the period (to its end in the zone); required",
            "--end 2027-03-31"};
}

OptionSpec ZoneOption() {
    return {"--tz", "ZONE",
            "zone of the times: an entry of the window's list (GMT, GMT+1:00,\n"
            "EST/CDT) or a time-zone database name with daylight saving\n"
            "(America/New_York); default the computer's zone",
            "--tz America/New_York"};
}

OptionSpec FormatOption(const char* choices) {
    return {"--format", choices, "output format; default text", "--format json"};
}

std::optional<EventOptions> ReadEventOptions(const CommandLine& line, bool ics,
                                             std::string& error) {
    EventOptions options;
    if (const std::optional<std::string> tz = line.Value("--tz")) {
        std::optional<EventZone> zone = EventZone::Read(*tz, error);
        if (!zone) return std::nullopt;
        options.zone = *zone;
    } else {
        options.zone = EventZone::Local();
    }
    const std::optional<CalendarDay> start = ReadDay(line, "--start", error);
    if (!start) return std::nullopt;
    const std::optional<CalendarDay> end = ReadDay(line, "--end", error);
    if (!end) return std::nullopt;
    options.first = *start;
    options.last = *end;
    options.span.from = options.zone.StartOfDay(*start);
    // 0h of the day after the end day.
    options.span.to = options.zone.StartOfDay(*end, 1);
    if (options.span.to <= options.span.from) {
        error = "--end must not be before --start";
        return std::nullopt;
    }
    const std::optional<EventFormat> format = ReadFormat(line, ics, error);
    if (!format) return std::nullopt;
    options.format = *format;
    return options;
}

std::optional<std::vector<Planet>> ReadPlanets(const CommandLine& line,
                                               const std::vector<Planet>& all, std::string& error) {
    const std::string text = line.Value("--planet").value_or("all");
    if (Lower(text) == "all") return all;
    std::optional<Planet> p =
        Lower(text) == "moon" ? std::optional<Planet>(Planet::Moon) : PlanetOfOptionName(text);
    if (!p) {
        error = "--planet \"" + text + "\" is no planet";
        return std::nullopt;
    }
    for (Planet q : all) {
        if (q == *p) return std::vector<Planet>{*p};
    }
    error = "--planet " + std::string(Name(*p, Centricity::Geocentric)) +
            " is not one of this command's bodies";
    return std::nullopt;
}

void StartPositions(CommandIo& io) {
    InitPositions();
    MessageLines lines(io.messages);
    ReadPlutoData(lines);
}

int Refuse(CommandIo& io, const std::string& why, int status) {
    io.messages << "vlt-report: " << why << '\n';
    return status;
}

int WriteEventList(const SkyEventList& list, const EventOptions& options, const std::string& title,
                   CommandIo& io) {
    if (!list.failure.empty()) return Refuse(io, list.failure, kReportRefused);
    switch (options.format) {
        case EventFormat::Text: WriteEventsText(io.out, list.events, options.zone, title); break;
        case EventFormat::Csv: WriteEventsCsv(io.out, list.events, options.zone); break;
        case EventFormat::Json: WriteEventsJson(io.out, list.events, options.zone); break;
        case EventFormat::Ics: WriteEventsIcs(io.out, list.events, std::time(nullptr)); break;
    }
    return kReportDone;
}

int RunBodyEvents(const CommandLine& line, CommandIo& io, const std::vector<Planet>& bodies,
                  BodyEventFinder find, const std::string& title) {
    std::string error;
    const std::optional<std::vector<Planet>> planets = ReadPlanets(line, bodies, error);
    const std::optional<EventOptions> options =
        planets ? ReadEventOptions(line, false, error) : std::nullopt;
    if (!options) return Refuse(io, error + " (see --help)", kReportUsage);
    StartPositions(io);
    SkyEventList all;
    for (Planet p : *planets) {
        SkyEventList one = find(p, options->span, std::stop_token());
        if (!one.failure.empty()) return WriteEventList(one, *options, "", io);
        all.events.insert(all.events.end(), one.events.begin(), one.events.end());
    }
    SortEvents(all.events);
    return WriteEventList(all, *options, title, io);
}

}  // namespace vlt

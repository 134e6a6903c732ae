// vlt-report stations: where Mercury .. Pluto turn retrograde or direct.
#include "app/report/event_command.h"
#include "app/report/event_commands.h"
#include "app/report/report_run.h"

namespace vlt {

namespace {

const std::vector<Planet>& StationBodies() {
    static const std::vector<Planet> kBodies = {Planet::Mercury, Planet::Venus,  Planet::Mars,
                                                Planet::Jupiter, Planet::Saturn, Planet::Uranus,
                                                Planet::Neptune, Planet::Pluto};
    return kBodies;
}

const CommandSpec& StationsSpec() {
    static const CommandSpec kSpec = {
        "stations",
        "The stations of a planet or of all (Mercury to Pluto): the instants\n"
        "its geocentric motion turns retrograde or direct, with its longitude.\n"
        "The Sun and the Moon have none.",
        {"stations --planet Mercury --start 2027-01-01 --end 2027-12-31 --tz GMT"},
        {{"--planet", "NAME|all", "Mercury .. Pluto, or all; default all", "--planet Mars"},
         StartOption(),
         EndOption(),
         ZoneOption(),
         FormatOption("text|csv|json")},
    };
    return kSpec;
}

int RunStations(const CommandLine& line, CommandIo& io) {
    std::string error;
    // The Sun and the Moon are named, not merely refused: they never turn.
    const std::string name = Lower(line.Value("--planet").value_or("all"));
    if (name == "moon" || name == "sun" || name == "earth") {
        const Planet p = name == "moon" ? Planet::Moon : Planet::Sun;
        return Refuse(io,
                      "--planet " + std::string(Name(p, Centricity::Geocentric)) +
                          ": it has no stations, its geocentric motion is never retrograde",
                      kReportUsage);
    }
    const std::optional<std::vector<Planet>> planets = ReadPlanets(line, StationBodies(), error);
    const std::optional<EventOptions> options =
        planets ? ReadEventOptions(line, false, error) : std::nullopt;
    if (!options) return Refuse(io, error + " (see --help)", kReportUsage);
    StartPositions(io);
    SkyEventList all;
    for (Planet p : *planets) {
        SkyEventList one = FindStations(p, options->span);
        if (!one.failure.empty()) return WriteEventList(one, *options, "", io);
        all.events.insert(all.events.end(), one.events.begin(), one.events.end());
    }
    SortEvents(all.events);
    return WriteEventList(all, *options, "Stations", io);
}

}  // namespace

ReportCommandEntry StationsCommand() { return {StationsSpec, RunStations}; }

}  // namespace vlt

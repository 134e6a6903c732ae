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
    // The Sun and the Moon are named, not merely refused: they never turn.
    const std::string name = Lower(line.Value("--planet").value_or("all"));
    if (name == "moon" || name == "sun" || name == "earth") {
        const Planet p = name == "moon" ? Planet::Moon : Planet::Sun;
        return Refuse(io,
                      "--planet " + std::string(Name(p, Centricity::Geocentric)) +
                          ": it has no stations, its geocentric motion is never retrograde",
                      kReportUsage);
    }
    return RunBodyEvents(line, io, StationBodies(), FindStations, "Stations");
}

}  // namespace

ReportCommandEntry StationsCommand() { return {StationsSpec, RunStations}; }

}  // namespace vlt

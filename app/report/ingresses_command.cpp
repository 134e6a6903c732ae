// vlt-report ingresses: where a body's longitude passes into another sign.
#include "app/report/event_command.h"
#include "app/report/event_commands.h"
#include "app/report/report_run.h"

namespace vlt {

namespace {

const std::vector<Planet>& IngressBodies() {
    static const std::vector<Planet> kBodies = {
        Planet::Sun,     Planet::Moon,   Planet::Mercury, Planet::Venus,   Planet::Mars,
        Planet::Jupiter, Planet::Saturn, Planet::Uranus,  Planet::Neptune, Planet::Pluto};
    return kBodies;
}

const CommandSpec& IngressesSpec() {
    static const CommandSpec kSpec = {
        "ingresses",
        "The sign ingresses of a body or of all (Sun, Moon, Mercury to Pluto):\n"
        "each instant its apparent geocentric longitude passes a multiple of\n"
        "30 degrees (tropical signs, Aries to Pisces), forward or back.",
        {"ingresses --planet Mars --start 2027-01-01 --end 2027-12-31 --format json"},
        {{"--planet", "NAME|all", "Sun, Moon, Mercury .. Pluto, or all; default all",
          "--planet Moon"},
         StartOption(),
         EndOption(),
         ZoneOption(),
         FormatOption("text|csv|json")},
    };
    return kSpec;
}

int RunIngresses(const CommandLine& line, CommandIo& io) {
    return RunBodyEvents(line, io, IngressBodies(), FindIngresses, "Sign ingresses");
}

}  // namespace

ReportCommandEntry IngressesCommand() { return {IngressesSpec, RunIngresses}; }

}  // namespace vlt

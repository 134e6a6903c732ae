// vlt-report phases: the Moon's new, first-quarter, full and last-quarter
// instants of a period.
#include "app/report/event_command.h"
#include "app/report/event_commands.h"
#include "app/report/report_run.h"

namespace vlt {

namespace {

const CommandSpec& PhasesSpec() {
    static const CommandSpec kSpec = {
        "phases",
        "The Moon's phases of the period (new moon, first quarter, full moon,\n"
        "last quarter: the Moon's geocentric longitude 0, 90, 180 and 270\n"
        "degrees ahead of the Sun's), to the minute.",
        {"phases --start 2027-01-01 --end 2027-03-31 --tz America/New_York"},
        {StartOption(), EndOption(), ZoneOption(), FormatOption("text|csv|json")},
    };
    return kSpec;
}

int RunPhases(const CommandLine& line, CommandIo& io) {
    std::string error;
    const std::optional<EventOptions> options = ReadEventOptions(line, false, error);
    if (!options) return Refuse(io, error + " (see --help)", kReportUsage);
    StartPositions(io);
    return WriteEventList(FindLunarPhases(options->span), *options, "Lunar phases", io);
}

}  // namespace

ReportCommandEntry PhasesCommand() { return {PhasesSpec, RunPhases}; }

}  // namespace vlt

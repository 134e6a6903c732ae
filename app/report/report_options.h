#pragma once
// The command line of vlt-report: one command and the inputs that the window
// would hold, each named after the control it sets.  Anything left out keeps
// the window's own default (the state of a first start).  Reading the line
// checks everything that can be checked without the window: names of
// planets, aspects and time zones, the form of dates and orbs.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/report/command_line.h"
#include "app/report/event_words.h"
#include "app/report/option_values.h"

namespace vlt {

enum class ReportCommand { Tables, Search, ShowAll, Simulate };

// How the report is written: the output box's text, or its records as CSV or
// JSON.
enum class ReportFormat { Text, Csv, Json };

struct ReportOptions {
    ReportCommand command = ReportCommand::Tables;

    // Positions in the planet lists: first list 0 Sun/Earth .. 7 Neptune,
    // -1 (no entry selected) for Pluto; second list 0 Mercury .. 7 Pluto.
    std::optional<int> firstPlanetIndex;
    std::optional<int> secondPlanetIndex;
    bool heliocentric = false;
    // --first named the Sun (not the Earth): a simulation then runs
    // geocentric, where any other simulation runs heliocentric as the
    // window's does.
    bool firstNamedSun = false;

    std::optional<ReportDate> start;
    std::optional<ReportDate> end;

    // Aspect type b + 1 checked; at least one.
    std::optional<std::array<bool, 7>> aspects;
    // Outer, middle and inner orb in whole degrees, 1..15, strictly decreasing.
    std::optional<std::array<int, 3>> orbs;

    // Position in the time-zone list (1..47).
    std::optional<int> timezoneIndex;
    bool northAmericanLabels = false;

    // Search: aspect type 1..7, search orb 3..15 degrees, from the start (0)
    // or the end (1) date.
    std::optional<int> searchAspect;
    std::optional<int> searchOrb;
    std::optional<int> searchFrom;

    // Show all: which show-all button, 1 keeps the first planet (pairs it
    // with every planet of the second list), 0 keeps the second planet.
    int showAllItem = 1;
    // Show all: pair the kept planet with the Moon as well (--with-moon).
    bool showAllWithMoon = false;

    bool includeTransitDetails = false;
    bool crlf = false;
    // The window's output box: its size limit and "Output textbox is full.",
    // the whole text written at the end.  Without it every piece of the
    // report is written as it comes and the report has no length limit.
    bool box = false;

    // Simulate: value the days from this price file instead of the index
    // file, reading the named column of a CSV file.  A chart draws its
    // price line from it.
    std::optional<std::string> pricesFile;
    std::string priceColumn = "Close";
    // Simulate: statistics with a random-timing baseline of `trials` runs
    // drawn from `seed`.
    bool stats = false;
    int trials = 1000;
    std::uint64_t seed = 1;
    // Combinations with fewer trades stay out of the family; trials are
    // valued on `jobs` threads (0: one per core), the result the same.
    int minTrades = 5;
    int jobs = 0;

    // Simulate on dated events: buy at each kind of --open event, sell at
    // the next --close event or after holdDays trading days, instead of the
    // pair's simulation (event_backtest_run.h).
    std::vector<EventWord> openEvents;
    std::vector<EventWord> closeEvents;
    int holdDays = 0;

    ReportFormat format = ReportFormat::Text;

    // chart --of tables|showall|simulate: the run's chart as an image file
    // (PNG or SVG by the name's ending) instead of its report.
    bool chart = false;
    std::string chartFile;
    int chartWidth = 1200;
    int chartHeight = 700;
};

struct ReportArguments {
    bool ok = false;    // options hold a request to run
    bool help = false;  // --help asked for: print the usage text, exit 0
    std::string error;  // when neither: one line saying what is wrong
    ReportOptions options;
};

// Reads the arguments (without the program name): the command word first,
// then its options.
ReportArguments ParseReportArguments(const std::vector<std::string>& args);

// The text of --help: every command and every option with an example, made
// from the definitions below.
std::string ReportUsageText();

// --help's paragraph on the exit statuses, from their table (exit_status.h).
std::string ExitStatusHelp();

// The runs an option belongs to, as bits; a chart takes the options of the
// run it draws (see ChartUse).
enum ReportRunBit : unsigned {
    kTablesRun = 1u << 0,
    kSearchRun = 1u << 1,
    kShowAllRun = 1u << 2,
    kSimulateRun = 1u << 3,
};
inline constexpr unsigned kEveryRun = kTablesRun | kSearchRun | kShowAllRun | kSimulateRun;

// How an option goes with the chart command.
enum class ChartUse {
    WithItsRuns,  // in a chart of a run that takes it
    AnyChart,     // in every chart, whatever it draws
    ChartOnly,    // in a chart alone
    NotForChart,  // never in a chart
};

// What a reader sees: the options it fills, the whole line (a reader whose
// value depends on another option looks there), and the option's name.
struct OptionReading {
    ReportOptions& options;
    const CommandLine& line;
    std::string name;
};

// Reads one value of the option into the options; returns the refusal, or
// an empty text when the value was taken.  A flag's reader gets "".
using OptionReader = std::string (*)(OptionReading& reading, const std::string& value);

// Where an option is taken: the runs (ReportRunBits), how it goes with a
// chart, and another option that must be given with it.
struct OptionPlace {
    unsigned runs = 0;
    ChartUse chart = ChartUse::WithItsRuns;
    const char* needs = nullptr;
};

// One option of the four runs and the chart, defined once: its text for
// the parser and --help, where it is taken, and its reader.
struct ReportOptionDefinition {
    OptionSpec text;
    OptionPlace place;
    OptionReader read;
};

// One command word of the four runs and the chart.
struct ReportCommandDefinition {
    const char* name;
    unsigned run;  // its ReportRunBit; 0 for chart, whose run --of names
    const char* summary;
    std::vector<const char*> examples;  // whole command lines
};

// Every option, in the order of --help; every command word.
const std::vector<ReportOptionDefinition>& ReportOptionDefinitions();
const std::vector<ReportCommandDefinition>& ReportCommandDefinitions();

}  // namespace vlt

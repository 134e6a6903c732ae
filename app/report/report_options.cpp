#include "app/report/report_options.h"

#include <algorithm>
#include <sstream>

#include "app/positions/request_rules.h"
#include "app/positions/timezone_list.h"
#include "app/positions/vocabulary.h"
#include "app/report/event_backtest_run.h"
#include "app/report/exit_status.h"

namespace vlt {
namespace {

// The readers of the options' values: each takes one value of its option
// and says what is wrong with it, or nothing.

// The value read, or the refusal when there is none.
template <typename T, typename Target>
std::string Take(const std::optional<T>& value, Target& target, const std::string& refusal) {
    if (!value) return refusal;
    target = *value;
    return {};
}

std::string ReadPlanet(OptionReading& r, const std::string& value) {
    const int p = PlanetNumber(value);
    if (p == 0) {
        return "unknown planet \"" + value + "\" for " + r.name + " (" + kPlanetChoices + ")";
    }
    if (r.name == "--first") {
        r.options.firstPlanetIndex = FirstListIndexOfPlanet(p);
        r.options.firstNamedSun = Lower(value) == "sun";
        return {};
    }
    if (p == 1)
        return "the second planet list holds Mercury to Pluto and the Moon, not \"" + value + "\"";
    r.options.secondPlanetIndex = SecondListIndexOfPlanet(p);
    return {};
}

std::string ReadDate(OptionReading& r, const std::string& value) {
    return Take(ParseDate(value), r.name == "--start" ? r.options.start : r.options.end,
                "malformed date \"" + value + "\" for " + r.name +
                    " (a calendar date as YYYY-MM-DD, e.g. 2024-05-05)");
}

std::string ReadAspects(OptionReading& r, const std::string& value) {
    std::array<bool, 7> checked{};
    for (const std::string& a : Split(value, ',')) {
        const int n = AspectNumber(a);
        if (n == 0) return "unknown aspect \"" + a + "\" for --aspects (" + AspectChoices() + ")";
        checked[static_cast<std::size_t>(n - 1)] = true;
    }
    r.options.aspects = checked;
    return {};
}

std::string ReadOrbs(OptionReading& r, const std::string& value) {
    const std::vector<std::string> parts = Split(value, ',');
    std::array<int, 3> orbs{};
    bool good = parts.size() == 3;
    for (std::size_t i = 0; good && i < 3; ++i) {
        const auto d = WholeNumber(parts[i], 2);
        good = d && *d >= 1 && *d <= 15;
        if (good) orbs[i] = *d;
    }
    if (!good) {
        return "malformed orbs \"" + value +
               "\" for --orbs (outer,middle,inner in whole degrees 1 to 15, e.g. 10,5,2)";
    }
    if (!OrbsStrictlyDecreasing(orbs[0], orbs[1], orbs[2])) {
        return "orbs \"" + value + "\" are not strictly decreasing (outer > middle > inner)";
    }
    r.options.orbs = orbs;
    return {};
}

// The zone is looked up in the list as --natz leaves it, wherever --natz
// stands on the line.
std::string ReadTimezone(OptionReading& r, const std::string& value) {
    bool isLabel = false;
    const int k = TimezoneIndex(value, r.line.Given("--natz"), isLabel);
    if (k != 0) {
        r.options.timezoneIndex = k;
        return {};
    }
    return "time zone \"" + value + "\" is not in the list" +
           (isLabel ? std::string(" (its North-American label needs --natz)")
                    : std::string(" (GMT, GMT-11:30 to GMT+11:30 by half hours)"));
}

std::string ReadSearchAspect(OptionReading& r, const std::string& value) {
    const int n = AspectNumber(value);
    if (n == 0)
        return "unknown aspect \"" + value + "\" for --aspect (one of " + AspectChoices() + ")";
    r.options.searchAspect = n;
    return {};
}

std::string ReadSearchOrb(OptionReading& r, const std::string& value) {
    return Take(WholeNumberIn(value, 2, 3, 15), r.options.searchOrb,
                "search orb \"" + value + "\" for --orb is not a whole degree from 3 to 15");
}

std::string ReadSearchFrom(OptionReading& r, const std::string& value) {
    return Take(Choice<int>(value, {{"start", 0}, {"end", 1}}), r.options.searchFrom,
                "--from takes start or end, not \"" + value + "\"");
}

std::string ReadKeep(OptionReading& r, const std::string& value) {
    return Take(Choice<int>(value, {{"first", 1}, {"second", 0}}), r.options.showAllItem,
                "--keep takes first or second, not \"" + value + "\"");
}

std::string ReadPrices(OptionReading& r, const std::string& value) {
    if (value.empty()) return "--prices needs a file name";
    r.options.pricesFile = value;
    return {};
}

std::string ReadPriceColumn(OptionReading& r, const std::string& value) {
    if (value.empty()) return "--price-column needs a column name";
    r.options.priceColumn = value;
    return {};
}

std::string ReadTrials(OptionReading& r, const std::string& value) {
    return Take(WholeNumberIn(value, 7, 1, 1000000), r.options.trials,
                "--trials takes a whole number from 1 to 1000000, not \"" + value + "\"");
}

std::string ReadSeed(OptionReading& r, const std::string& value) {
    if (!AllDigits(value) || value.size() > 19) {
        return "--seed takes a whole number of at most 19 digits, not \"" + value + "\"";
    }
    r.options.seed = std::stoull(value);
    return {};
}

std::string ReadMinTrades(OptionReading& r, const std::string& value) {
    return Take(WholeNumberIn(value, 7, 1, 1000000), r.options.minTrades,
                "--min-trades takes a whole number from 1 to 1000000, not \"" + value + "\"");
}

std::string ReadJobs(OptionReading& r, const std::string& value) {
    return Take(WholeNumberIn(value, 4, 1, 1024), r.options.jobs,
                "--jobs takes a whole number from 1 to 1024, not \"" + value + "\"");
}

std::string ReadFormat(OptionReading& r, const std::string& value) {
    const auto format = Choice<ReportFormat>(
        value,
        {{"text", ReportFormat::Text}, {"csv", ReportFormat::Csv}, {"json", ReportFormat::Json}});
    return Take(format, r.options.format,
                "--format takes text, csv or json, not \"" + value + "\"");
}

// The run a chart draws is settled before the other options are read (it
// decides which of them the chart takes); here the value is only checked.
std::optional<ReportCommand> ChartOfValue(const std::string& value) {
    return Choice<ReportCommand>(value, {{"tables", ReportCommand::Tables},
                                         {"showall", ReportCommand::ShowAll},
                                         {"simulate", ReportCommand::Simulate}});
}

std::string ReadChartOf(OptionReading&, const std::string& value) {
    if (ChartOfValue(value)) return {};
    return "--of takes tables, showall or simulate, not \"" + value + "\"";
}

std::string ReadChartFile(OptionReading& r, const std::string& value) {
    const std::string v = Lower(value);
    if (!EndsWith(v, ".png") && !EndsWith(v, ".svg")) {
        return "--out takes a file name ending in .png or .svg, not \"" + value + "\"";
    }
    r.options.chartFile = value;
    return {};
}

std::string ReadChartSize(OptionReading& r, const std::string& value) {
    return Take(
        WholeNumberIn(value, 5, 200, 10000),
        r.name == "--width" ? r.options.chartWidth : r.options.chartHeight,
        r.name + " takes a whole number of pixels from 200 to 10000, not \"" + value + "\"");
}

// --open and --close: each kind of event a list names, added to those of the
// option's other uses.
std::string ReadEvents(OptionReading& r, const std::string& value) {
    std::vector<EventWord>& into =
        r.name == "--open" ? r.options.openEvents : r.options.closeEvents;
    for (const std::string& word : Split(value, ',')) {
        if (auto problem = ReadEventWord(word, r.name.c_str(), into)) return *problem;
    }
    return {};
}

std::string ReadHold(OptionReading& r, const std::string& value) {
    return Take(WholeNumberIn(value, 4, 1, kMaxHoldDays), r.options.holdDays,
                "--hold takes a whole number of trading days from 1 to " +
                    std::to_string(kMaxHoldDays) + ", not \"" + value + "\"");
}

// Each flag sets the field of its name.
std::string ReadFlag(OptionReading& r, const std::string&) {
    ReportOptions& o = r.options;
    const std::pair<const char*, bool ReportOptions::*> kFlags[] = {
        {"--helio", &ReportOptions::heliocentric},
        {"--natz", &ReportOptions::northAmericanLabels},
        {"--details", &ReportOptions::includeTransitDetails},
        {"--stats", &ReportOptions::stats},
        {"--crlf", &ReportOptions::crlf},
        {"--box", &ReportOptions::box},
        {"--with-moon", &ReportOptions::showAllWithMoon}};
    for (const auto& [name, field] : kFlags) {
        if (r.name == name) o.*field = true;
    }
    return {};
}

constexpr unsigned kAspectRuns = kTablesRun | kShowAllRun | kSimulateRun;
// The runs a chart can draw.
constexpr unsigned kChartRuns = kTablesRun | kShowAllRun | kSimulateRun;

}  // namespace

// Each option is defined here and nowhere else: its name, value and help
// feed the parser and --help, its place decides which commands take it, and
// its reader fills the options.
// Data table: every option of the four runs and the chart, in --help order.
const std::vector<ReportOptionDefinition>& ReportOptionDefinitions() {
    using C = ChartUse;
    static const std::vector<ReportOptionDefinition> kOptions = {
        {{"--first", "PLANET",
          "first planet: Sun (or Earth), Mercury, Venus, Mars, Jupiter, Saturn, Uranus, Neptune, "
          "Pluto (no entry of the first list selected) or Moon; default Mars",
          "--first Venus"},
         {kEveryRun},
         ReadPlanet},
        {{"--second", "PLANET",
          "second planet: Mercury ... Neptune, Pluto, Moon; default Jupiter.  The Moon ranks right "
          "after the Sun (Sun and Moon, Moon and Mars) and is geocentric only",
          "--second Saturn"},
         {kEveryRun},
         ReadPlanet},
        {{"--helio", nullptr,
          "heliocentric centricity (default geocentric); planet 1 is then named Earth",
          "--helio --first Earth"},
         {kEveryRun},
         ReadFlag},
        {{"--start", "YYYY-MM-DD", "start date; default 1 January of this year",
          "--start 2024-05-05"},
         {kEveryRun},
         ReadDate},
        {{"--end", "YYYY-MM-DD", "end date; default 31 December of this year", "--end 2024-12-31"},
         {kEveryRun},
         ReadDate},
        {{"--aspects", "LIST",
          "aspect types, comma-separated from con, opp, sqr, tri, sxt, ssx, qui; default all",
          "--aspects con,opp,sqr"},
         {kAspectRuns},
         ReadAspects},
        {{"--orbs", "O,M,I",
          "outer, middle and inner orb in whole degrees 1 to 15, strictly decreasing; default "
          "10,5,2",
          "--orbs 8,4,1"},
         {kAspectRuns},
         ReadOrbs},
        {{"--tz", "ZONE",
          "time zone of the results as the list shows it: GMT, or GMT-11:30 to GMT+11:30 by half "
          "hours (hours without a leading zero); default the computer's zone",
          "--tz GMT+1:00"},
         {kEveryRun},
         ReadTimezone},
        {{"--natz", nullptr,
          "North-American labels in the time-zone list (then --tz also takes HAST, AKST/HADT, "
          "PST/AKDT, MST/PDT, CST/MDT, EST/CDT, AST/EDT, NST, ADT, NDT)",
          "--natz --tz EST/CDT"},
         {kEveryRun},
         ReadFlag},
        {{"--aspect", "ASPECT",
          "the aspect to find, one of con, opp, sqr, tri, sxt, ssx, qui; default con",
          "--aspect tri"},
         {kSearchRun},
         ReadSearchAspect},
        {{"--orb", "DEGREES", "outer orb, 3 to 15 (middle and inner follow); default 6", "--orb 8"},
         {kSearchRun},
         ReadSearchOrb},
        {{"--from", "start|end", "on or after the start date (default) or the end date",
          "--from end"},
         {kSearchRun},
         ReadSearchFrom},
        {{"--keep", "first|second",
          "keep the first planet and pair it with every planet of the second list (default), or "
          "keep the second planet and pair it with every first planet and Pluto",
          "--keep second"},
         {kShowAllRun},
         ReadKeep},
        {{"--with-moon", nullptr,
          "pair the kept planet with the Moon too, last (geocentric; a series that keeps the Moon "
          "always does)",
          "--with-moon"},
         {kShowAllRun},
         ReadFlag},
        {{"--details", nullptr, "include every investment and redemption", "--details"},
         {kSimulateRun},
         ReadFlag},
        {{"--crlf", nullptr, "CR LF line ends, as the output box holds them", "--crlf"},
         {kEveryRun, C::NotForChart},
         ReadFlag},
        {{"--prices", "FILE",
          "value the days from FILE instead of DJIA_data.txt, and draw a chart's price line from "
          "it: either lines \"YYYY-MM-DD,value\" (a date alone: no trading) or CSV with a header "
          "naming a Date and a Close column; empty, null or NaN: no trading; a day without a value "
          "takes the next within four days",
          "--prices spy.csv"},
         {kSimulateRun, C::AnyChart},
         ReadPrices},
        {{"--price-column", "NAME", "the CSV column to read instead of Close",
          "--price-column \"Adj Close\""},
         {kSimulateRun, C::AnyChart, "--prices"},
         ReadPriceColumn},
        {{"--open", "EVENT",
          "instead of a planet pair's aspects, buy at each EVENT and sell at the next --close "
          "EVENT (or after --hold days); a comma-separated list, or the option again, tries each "
          "kind, all judged as one family.  EVENT: new-moon, first-quarter, full-moon, "
          "last-quarter, station-retrograde:PLANET, station-direct:PLANET (Mercury to Pluto), "
          "ingress:BODY (any sign) or ingress:BODY:SIGN, aspect:BODY:BODY:ASPECT (exact); BODY is "
          "Sun, Moon, Mercury to Pluto, or all for each; geocentric, on the event's universal-time "
          "date.  A trade still open at the end is not counted",
          "--open new-moon --close full-moon"},
         {kSimulateRun, C::NotForChart},
         ReadEvents},
        {{"--close", "EVENT",
          "sell at the close of the first trading day on or after the first EVENT after the "
          "buying day; a list tries each",
          "--close full-moon --open new-moon"},
         {kSimulateRun, C::NotForChart},
         ReadEvents},
        {{"--hold", "DAYS",
          "sell DAYS trading days (days with a price, 1 to 1000) after the buying day instead of "
          "at a --close event",
          "--hold 20 --open station-direct:Mars"},
         {kSimulateRun, C::NotForChart},
         ReadHold},
        {{"--stats", nullptr,
          "per aspect and orb the trades, winners, total and mean gain, mean holding days, time in "
          "the market, annual return, drawdown, buy and hold over as many days, and p, p adjusted "
          "for all the combinations of the run (Romano-Wolf) and q (Benjamini-Hochberg) against "
          "random timing (see docs/statistics.md)",
          "--stats"},
         {kSimulateRun},
         ReadFlag},
        {{"--trials", "N", "random runs of --stats, 1 to 1000000; default 1000", "--trials 5000"},
         {kSimulateRun, C::WithItsRuns, "--stats"},
         ReadTrials},
        {{"--seed", "N",
          "seed of the random runs (the same seed gives the same numbers everywhere); default 1",
          "--seed 42"},
         {kSimulateRun, C::WithItsRuns, "--stats"},
         ReadSeed},
        {{"--min-trades", "N", "fewer trades are \"too few trades\", outside the family; default 5",
          "--min-trades 10"},
         {kSimulateRun, C::WithItsRuns, "--stats"},
         ReadMinTrades},
        {{"--jobs", "N",
          "threads for the random runs, 1 to 1024 (same numbers for any); default: every core",
          "--jobs 2"},
         {kSimulateRun, C::WithItsRuns, "--stats"},
         ReadJobs},
        {{"--format", "FORMAT",
          "text (default: the output box's text), csv or json (one record per transit row, or per "
          "investment and redemption with the summary; see docs/report-formats.md)",
          "--format json"},
         {kEveryRun, C::NotForChart},
         ReadFormat},
        {{"--box", nullptr,
          "the window's output box exactly: transit tables stop once the box holds more than "
          "64,000 characters, the simulation once it holds more than 65,000, with the window's "
          "message \"Output textbox is full.\" (exit 1); the text is printed when the command ends",
          "--box"},
         {kEveryRun},
         ReadFlag},
        {{"--of", "KIND",
          "the run to draw, tables, showall or simulate (each takes its own options)",
          "--of showall"},
         {0, C::ChartOnly},
         ReadChartOf},
        {{"--out", "FILE", "the image file, PNG or SVG by its ending", "--out chart.svg"},
         {0, C::ChartOnly},
         ReadChartFile},
        {{"--width", "N", "the image's width in pixels, 200 to 10000; default 1200",
          "--width 1600"},
         {0, C::ChartOnly},
         ReadChartSize},
        {{"--height", "N", "the image's height in pixels, 200 to 10000; default 700",
          "--height 900"},
         {0, C::ChartOnly},
         ReadChartSize},
    };
    return kOptions;
}

// Data table: the command words, in the order of --help.
const std::vector<ReportCommandDefinition>& ReportCommandDefinitions() {
    static const std::vector<ReportCommandDefinition> kCommands = {
        {"tables",
         kTablesRun,
         "construct transit tables (the planet-pair button)",
         {"tables --first Mars --second Jupiter --start 2024-01-01 --end 2024-12-31"}},
        {"search",
         kSearchRun,
         "search for the first transit of one aspect",
         {"search --first Jupiter --second Saturn --aspect con --orb 6 --from start"}},
        {"showall",
         kShowAllRun,
         "transit tables of one planet with every other planet",
         {"showall --first Venus --keep first --start 2024-01-01 --end 2024-03-31"}},
        {"chart",
         0,
         "the chart of a tables, showall or simulate run as an image file:\n"
         "the orb intervals and minima of each transit over the price\n"
         "line, or each aspect's gain over the price line",
         {"chart --of tables --first Mars --second Jupiter --start 2007-01-03 --end 2014-12-31 "
          "--out mars-jupiter.png",
          "chart --of simulate --first Earth --second Mars --start 2010-01-01 --end 2012-12-31 "
          "--out gains.svg"}},
        {"simulate",
         kSimulateRun,
         "simulate investment in the DJIA index (heliocentric, or\n"
         "geocentric with --first Sun; dates within 2007-01-03 through\n"
         "2014-12-31), or in any daily price series with --prices\n"
         "(dates within the file's first and last price)",
         {"simulate --first Earth --second Mars --start 2010-01-01 --end 2010-12-31 --details",
          "simulate --first Earth --second Mars --start 2010-01-01 --end 2010-12-31 --prices "
          "spy.csv --stats"}},
    };
    return kCommands;
}

namespace {

bool IsChart(const ReportCommandDefinition& command) { return command.run == 0; }

constexpr std::pair<ReportCommand, unsigned> kRunBits[] = {{ReportCommand::Tables, kTablesRun},
                                                           {ReportCommand::Search, kSearchRun},
                                                           {ReportCommand::ShowAll, kShowAllRun},
                                                           {ReportCommand::Simulate, kSimulateRun}};

unsigned RunOf(ReportCommand command) {
    for (const auto& [c, bit] : kRunBits) {
        if (c == command) return bit;
    }
    return 0;
}

ReportCommand CommandOfRun(unsigned run) {
    for (const auto& [c, bit] : kRunBits) {
        if (bit == run) return c;
    }
    return ReportCommand::Tables;
}

// Whether the command takes the option; a chart, as the run `chartOf`
// (0 while it is not yet known) would.
bool CommandTakes(const ReportCommandDefinition& command, unsigned chartOf,
                  const ReportOptionDefinition& o) {
    if (!IsChart(command))
        return (o.place.runs & command.run) != 0 && o.place.chart != ChartUse::ChartOnly;
    switch (o.place.chart) {
        case ChartUse::WithItsRuns:
            return (o.place.runs & (chartOf != 0 ? chartOf : kChartRuns)) != 0;
        case ChartUse::AnyChart:
        case ChartUse::ChartOnly: return true;
        case ChartUse::NotForChart: return false;
    }
    return false;
}

const ReportOptionDefinition* FindDefinition(std::string_view name) {
    for (const ReportOptionDefinition& o : ReportOptionDefinitions()) {
        if (name == o.text.name) return &o;
    }
    return nullptr;
}

const ReportCommandDefinition* FindCommand(std::string_view name) {
    for (const ReportCommandDefinition& c : ReportCommandDefinitions()) {
        if (name == c.name) return &c;
    }
    return nullptr;
}

// "a", "a and b", "a, b and c".
std::string Listed(const std::vector<std::string>& words) {
    std::string text;
    for (std::size_t k = 0; k < words.size(); ++k) {
        if (k > 0) text += k + 1 == words.size() ? " and " : ", ";
        text += words[k];
    }
    return text;
}

// The commands that take an option, in the order of --help.
std::vector<std::string> CommandsTaking(const ReportOptionDefinition& o) {
    std::vector<std::string> names;
    for (const ReportCommandDefinition& c : ReportCommandDefinitions()) {
        if (CommandTakes(c, 0, o)) names.emplace_back(c.name);
    }
    return names;
}

// Where an option given to a command that does not take it belongs.
std::string MisplacedOption(const ReportCommandDefinition& command,
                            const ReportOptionDefinition& o) {
    if (IsChart(command) && o.place.chart == ChartUse::NotForChart) {
        return std::string(o.text.name) + " does not apply to chart";
    }
    const std::vector<std::string> names = CommandsTaking(o);
    // A chart takes what its run takes: naming the run says enough.
    std::vector<std::string> runs;
    for (const std::string& n : names) {
        if (n != "chart" || o.place.chart != ChartUse::WithItsRuns) runs.push_back(n);
    }
    return std::string(o.text.name) + " belongs to the " + Listed(runs) +
           (runs.size() == 1 ? " command" : " commands");
}

// Every command word, those of their own files included.
std::string CommandChoices() {
    std::vector<std::string> names;
    for (const ReportCommandDefinition& c : ReportCommandDefinitions()) names.emplace_back(c.name);
    for (const ReportCommandEntry& e : CommandEntries()) names.emplace_back(e.spec().name);
    std::string text;
    for (const std::string& n : names) text += (text.empty() ? "" : ", ") + n;
    return text;
}

// The options a command's parser knows: a chart knows every option a chart
// of any run takes, and checks the run's own once --of is read.
const CommandSpec& SpecOf(const ReportCommandDefinition& command) {
    static const std::vector<CommandSpec> specs = [] {
        std::vector<CommandSpec> made;
        for (const ReportCommandDefinition& c : ReportCommandDefinitions()) {
            CommandSpec spec{c.name, c.summary, c.examples, {}};
            for (const ReportOptionDefinition& o : ReportOptionDefinitions()) {
                if (CommandTakes(c, 0, o)) spec.options.push_back(o.text);
            }
            made.push_back(std::move(spec));
        }
        return made;
    }();
    return specs[static_cast<std::size_t>(&command - ReportCommandDefinitions().data())];
}

// The refusal of a line the parser could not read, in the words of the
// definitions where they say more than the parser can.
std::string RefusalOf(const ReportCommandDefinition& command, const ReadCommandResult& read) {
    if (const ReportOptionDefinition* o = FindDefinition(read.unknownOption)) {
        return MisplacedOption(command, *o);
    }
    if (FindCommand(read.strayWord) != nullptr || FindCommandEntry(read.strayWord) != nullptr) {
        return "one command at a time, not \"" + read.strayWord + "\" as well";
    }
    return read.error;
}

// The run a chart draws, and the two options it cannot do without.
std::string SettleChart(const CommandLine& line, ReportOptions& o, unsigned& chartOf) {
    const std::optional<std::string> of = line.Value("--of");
    const std::optional<ReportCommand> run = of ? ChartOfValue(*of) : std::nullopt;
    if (!of) return "chart needs --of tables, showall or simulate";
    if (!run) return "--of takes tables, showall or simulate, not \"" + *of + "\"";
    if (!line.Given("--out")) return "chart needs --out FILE.png or --out FILE.svg";
    o.command = *run;
    o.chart = true;
    chartOf = RunOf(*run);
    return {};
}

// Where each given option belongs and what it needs, then each value in
// turn, in the order of --help; the first mistake is the one named.
std::string ReadOptions(const ReportCommandDefinition& command, unsigned chartOf,
                        const CommandLine& line, ReportOptions& options) {
    for (const CommandLine::Use& use : line.uses) {
        const ReportOptionDefinition& o = *FindDefinition(use.name);
        if (!CommandTakes(command, chartOf, o)) return MisplacedOption(command, o);
        if (o.place.needs != nullptr && !line.Given(o.place.needs))
            return use.name + " needs " + o.place.needs;
    }
    for (const CommandLine::Use& use : line.uses) {
        const ReportOptionDefinition& o = *FindDefinition(use.name);
        OptionReading reading{options, line, use.name};
        if (use.values.empty()) {
            if (std::string error = o.read(reading, std::string()); !error.empty()) return error;
        }
        for (const std::string& value : use.values) {
            if (std::string error = o.read(reading, value); !error.empty()) return error;
        }
    }
    return {};
}

std::string NoCommand(const std::vector<std::string>& args) {
    if (args.empty() || args.front().rfind("--", 0) == 0) {
        return "no command (" + CommandChoices() + "; the command comes first)";
    }
    return "unknown command \"" + args.front() + "\" (" + CommandChoices() + ")";
}

}  // namespace

namespace {

// A run on dated events closes one way, and has no planet pair.
std::string EventRunProblem(const CommandLine& line, const ReportOptions& o) {
    if (o.openEvents.empty()) {
        for (const char* name : {"--close", "--hold"}) {
            if (line.Given(name)) return std::string(name) + " needs --open";
        }
        return {};
    }
    if (line.Given("--close") == line.Given("--hold")) {
        return "--open needs one of --close EVENT and --hold DAYS";
    }
    for (const char* pair : {"--first", "--second", "--aspects", "--orbs", "--details", "--box",
                             "--helio", "--tz", "--natz", "--crlf"}) {
        if (line.Given(pair)) return std::string(pair) + " does not go with --open";
    }
    return {};
}

}  // namespace

ReportArguments ParseReportArguments(const std::vector<std::string>& args) {
    ReportArguments result;
    // Asking for help is never a mistake, whatever else the line holds.
    if (std::any_of(args.begin(), args.end(),
                    [](const std::string& arg) { return arg == "--help" || arg == "-h"; })) {
        result.help = true;
        return result;
    }
    const ReportCommandDefinition* command = args.empty() ? nullptr : FindCommand(args.front());
    if (command == nullptr) {
        result.error = NoCommand(args);
        return result;
    }
    const ReadCommandResult read =
        ReadCommandLine(SpecOf(*command), std::vector<std::string>(args.begin() + 1, args.end()));
    if (!read.ok) {
        result.error = RefusalOf(*command, read);
        return result;
    }
    ReportOptions& o = result.options;
    unsigned chartOf = command->run;
    if (IsChart(*command)) {
        result.error = SettleChart(read.line, o, chartOf);
    } else {
        o.command = CommandOfRun(command->run);
    }
    if (result.error.empty()) result.error = ReadOptions(*command, chartOf, read.line, o);
    if (result.error.empty()) result.error = EventRunProblem(read.line, o);
    result.ok = result.error.empty();
    return result;
}

}  // namespace vlt

namespace vlt {
namespace {

// The line of --help that says which commands take an option, unless every
// command does.
std::string TakenBy(const ReportOptionDefinition& o) {
    const std::vector<std::string> names = CommandsTaking(o);
    if (names.size() == ReportCommandDefinitions().size()) return {};
    if (o.place.chart == ChartUse::NotForChart &&
        names.size() + 1 == ReportCommandDefinitions().size()) {
        return "every command but chart";
    }
    return Listed(names) + (names.size() == 1 ? " only" : "");
}

// A text in lines of at most `width` characters, broken between words; a
// line end of the text counts as a space.
std::string Wrapped(const std::string& text, std::size_t width) {
    std::istringstream words(text);
    std::string wrapped;
    std::size_t lineLength = 0;
    for (std::string word; words >> word;) {
        if (lineLength > 0 && lineLength + 1 + word.size() > width) {
            wrapped += '\n';
            lineLength = 0;
        } else if (lineLength > 0) {
            wrapped += ' ';
            ++lineLength;
        }
        wrapped += word;
        lineLength += word.size();
    }
    return wrapped;
}

std::string CommandsHelp() {
    std::ostringstream out;
    out << "Commands:\n";
    for (const ReportCommandDefinition& c : ReportCommandDefinitions()) {
        std::istringstream summary(c.summary);
        std::string line;
        std::getline(summary, line);
        out << "  " << c.name << std::string(11 - std::string(c.name).size(), ' ') << line << '\n';
        while (std::getline(summary, line)) out << std::string(13, ' ') << line << '\n';
        for (const char* example : c.examples) {
            out << std::string(15, ' ') << "vlt-report " << example << '\n';
        }
    }
    return out.str();
}

std::string OptionsHelp() {
    std::string text = "Options (a chart takes those of the run it draws, and its own):\n";
    for (const ReportOptionDefinition& o : ReportOptionDefinitions()) {
        const std::string takenBy = TakenBy(o);
        // The help column starts at 26: lines of 54 keep --help within 80.
        const std::string help =
            Wrapped(o.text.help, 54) + (takenBy.empty() ? "" : "\n(" + takenBy + ")");
        text += OptionHelp(OptionSpec{o.text.name, o.text.value, help.c_str(), o.text.example});
    }
    return text + "    --help                this text\n";
}

// --help's paragraphs are wrapped to lines of at most 76 characters.
constexpr std::size_t kParagraphWidth = 76;

// A paragraph of --help wrapped at kParagraphWidth; two blanks after a
// sentence stay two, unless the line breaks there.
std::string Paragraph(const std::string& text) {
    std::string wrapped;
    std::size_t lineLength = 0;
    std::size_t gap = 0;  // blanks before the next word
    std::size_t from = 0;
    while (from <= text.size()) {
        std::size_t end = text.find(' ', from);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(from, end - from);
        from = end + 1;
        if (word.empty()) {
            ++gap;
            continue;
        }
        if (lineLength > 0 && lineLength + gap + word.size() > kParagraphWidth) {
            wrapped += '\n';
            lineLength = 0;
        } else if (lineLength > 0) {
            wrapped.append(gap, ' ');
            lineLength += gap;
        }
        wrapped += word;
        lineLength += word.size();
        gap = 1;
    }
    return wrapped + '\n';
}

// What the program does, naming the window's commands it runs.
std::string IntroHelp() {
    std::string commands;
    const auto& definitions = ReportCommandDefinitions();
    for (std::size_t k = 0; k < definitions.size(); ++k) {
        if (k > 0) commands += k + 1 == definitions.size() ? " or " : ", ";
        commands += definitions[k].name;
    }
    return Paragraph(
        "Runs one command of the Veltaro window (" + commands +
        ") without a screen and prints the text that the window's output box would hold, with LF "
        "line ends, as it is made: each finished transit (each investment line) appears at once, "
        "and a report of any length is printed whole.  Every option sets the window control of "
        "the same meaning; an option left out keeps the window's default at its first start.  "
        "Data files are read from the program's folder, DJIA_data.txt from the current folder; "
        "the saved program state is neither read nor written.");
}

}  // namespace

std::string ExitStatusHelp() {
    std::string text = "Exit status:";
    const char* separator = " ";
    for (const ExitStatusDefinition& d : kExitStatuses) {
        text.append(separator).append(std::to_string(d.status)).append(" ").append(d.meaning);
        separator = "; ";
    }
    return Paragraph(text + ".");
}

std::string ReportUsageText() {
    return "Usage: vlt-report COMMAND [OPTIONS]\n\n" + IntroHelp() + "\n" + CommandsHelp() + "\n" +
           OptionsHelp() +
           "\nOptions take their value as the next argument or after \"=\" (--tz=GMT+1:00).\n\n" +
           ExitStatusHelp();
}

}  // namespace vlt

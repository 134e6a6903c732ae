#include "app/report/report_options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <initializer_list>
#include <iterator>

#include "app/positions/request_rules.h"
#include "app/positions/timezone_list.h"
#include "app/positions/vocabulary.h"

namespace vlt {
namespace {

// The request as the line builds it, the first mistake, and which options
// were given, so that the checks after the line can say where each belongs.
// Each option's value has its own reader below; the option table names it.
struct Parser {
    ReportArguments result;
    std::optional<ReportCommand> command;
    std::optional<std::string> timezoneText;
    bool failed = false;

    bool keepGiven = false;
    bool chartGiven = false;        // the command word "chart"
    bool chartOptionGiven = false;  // --of, --out, --width, --height
    std::optional<ReportCommand> chartOf;
    bool pricesGiven = false;
    bool priceColumnGiven = false;
    bool statsOptionGiven = false;
    bool familyOptionGiven = false;  // --min-trades, --jobs
    bool searchGiven = false;
    bool detailsGiven = false;

    ReportOptions& Options() { return result.options; }

    void Fail(const std::string& message) {
        if (!failed) result.error = message;
        failed = true;
    }

    // The value read, or the refusal when there is none.
    template <typename T, typename Target>
    void Take(const std::optional<T>& value, Target& target, const std::string& refusal) {
        if (value) {
            target = *value;
        } else {
            Fail(refusal);
        }
    }

    // A value that must not be empty, as the option gives it.
    void NonEmpty(std::optional<std::string>& target, const std::string& value,
                  const char* missing) {
        if (value.empty()) {
            Fail(missing);
        } else {
            target = value;
        }
    }

    void Planet(const std::string& name, const std::string& value) {
        const int p = PlanetNumber(value);
        if (p == 0) {
            Fail("unknown planet \"" + value + "\" for " + name + " (" + kPlanetChoices + ")");
        } else if (name == "--first") {
            Options().firstPlanetIndex = FirstListIndexOfPlanet(p);
            Options().firstNamedSun = Lower(value) == "sun";
        } else if (p == 1) {
            Fail("the second planet list holds Mercury to Pluto, not \"" + value + "\"");
        } else {
            Options().secondPlanetIndex = SecondListIndexOfPlanet(p);
        }
    }

    void Date(const std::string& name, const std::string& value) {
        const auto date = ParseDate(value);
        if (!date) {
            Fail("malformed date \"" + value + "\" for " + name +
                 " (a calendar date as YYYY-MM-DD, e.g. 2024-05-05)");
        } else {
            (name == "--start" ? Options().start : Options().end) = *date;
        }
    }

    void Aspects(const std::string&, const std::string& value) {
        std::array<bool, 7> checked{};
        for (const std::string& a : Split(value, ',')) {
            const int n = AspectNumber(a);
            if (n == 0) {
                Fail("unknown aspect \"" + a + "\" for --aspects (" + AspectChoices() + ")");
                return;
            }
            checked[static_cast<std::size_t>(n - 1)] = true;
        }
        Options().aspects = checked;
    }

    void Orbs(const std::string&, const std::string& value) {
        const std::vector<std::string> parts = Split(value, ',');
        std::array<int, 3> orbs{};
        bool good = parts.size() == 3;
        for (std::size_t i = 0; good && i < 3; ++i) {
            const auto d = WholeNumber(parts[i], 2);
            good = d && *d >= 1 && *d <= 15;
            if (good) orbs[i] = *d;
        }
        if (!good) {
            Fail("malformed orbs \"" + value +
                 "\" for --orbs (outer,middle,inner in whole degrees 1 to 15, e.g. 10,5,2)");
        } else if (!OrbsStrictlyDecreasing(orbs[0], orbs[1], orbs[2])) {
            Fail("orbs \"" + value + "\" are not strictly decreasing (outer > middle > inner)");
        } else {
            Options().orbs = orbs;
        }
    }

    // The zone is looked up once the line is read: --natz may come after it.
    void Timezone(const std::string&, const std::string& value) { timezoneText = value; }

    void SearchAspect(const std::string&, const std::string& value) {
        const int n = AspectNumber(value);
        if (n == 0) {
            Fail("unknown aspect \"" + value + "\" for --aspect (one of " + AspectChoices() + ")");
        } else {
            Options().searchAspect = n;
        }
    }

    void SearchOrb(const std::string&, const std::string& value) {
        Take(WholeNumberIn(value, 2, 3, 15), Options().searchOrb,
             "search orb \"" + value + "\" for --orb is not a whole degree from 3 to 15");
    }

    void SearchFrom(const std::string&, const std::string& value) {
        Take(Choice<int>(value, {{"start", 0}, {"end", 1}}), Options().searchFrom,
             "--from takes start or end, not \"" + value + "\"");
    }

    void Keep(const std::string&, const std::string& value) {
        Take(Choice<int>(value, {{"first", 1}, {"second", 0}}), Options().showAllItem,
             "--keep takes first or second, not \"" + value + "\"");
    }

    void Prices(const std::string&, const std::string& value) {
        NonEmpty(Options().pricesFile, value, "--prices needs a file name");
    }

    void PriceColumn(const std::string&, const std::string& value) {
        std::optional<std::string> column;
        NonEmpty(column, value, "--price-column needs a column name");
        if (column) Options().priceColumn = *column;
    }

    void Trials(const std::string&, const std::string& value) {
        Take(WholeNumberIn(value, 7, 1, 1000000), Options().trials,
             "--trials takes a whole number from 1 to 1000000, not \"" + value + "\"");
    }

    void Seed(const std::string&, const std::string& value) {
        if (!AllDigits(value) || value.size() > 19) {
            Fail("--seed takes a whole number of at most 19 digits, not \"" + value + "\"");
        } else {
            Options().seed = std::stoull(value);
        }
    }

    void MinTrades(const std::string&, const std::string& value) {
        Take(WholeNumberIn(value, 7, 1, 1000000), Options().minTrades,
             "--min-trades takes a whole number from 1 to 1000000, not \"" + value + "\"");
    }

    void Jobs(const std::string&, const std::string& value) {
        Take(WholeNumberIn(value, 4, 1, 1024), Options().jobs,
             "--jobs takes a whole number from 1 to 1024, not \"" + value + "\"");
    }

    void Format(const std::string&, const std::string& value) {
        const auto format = Choice<ReportFormat>(value, {{"text", ReportFormat::Text},
                                                         {"csv", ReportFormat::Csv},
                                                         {"json", ReportFormat::Json}});
        Take(format, Options().format, "--format takes text, csv or json, not \"" + value + "\"");
    }

    void ChartOf(const std::string&, const std::string& value) {
        chartOf = Choice<ReportCommand>(value, {{"tables", ReportCommand::Tables},
                                                {"showall", ReportCommand::ShowAll},
                                                {"simulate", ReportCommand::Simulate}});
        if (!chartOf) Fail("--of takes tables, showall or simulate, not \"" + value + "\"");
    }

    void ChartFile(const std::string&, const std::string& value) {
        const std::string v = Lower(value);
        if (!EndsWith(v, ".png") && !EndsWith(v, ".svg")) {
            Fail("--out takes a file name ending in .png or .svg, not \"" + value + "\"");
        } else {
            Options().chartFile = value;
        }
    }

    void ChartSize(const std::string& name, const std::string& value) {
        Take(WholeNumberIn(value, 5, 200, 10000),
             name == "--width" ? Options().chartWidth : Options().chartHeight,
             name + " takes a whole number of pixels from 200 to 10000, not \"" + value + "\"");
    }

    void Flag(const std::string& name, const std::string&) {
        ReportOptions& o = Options();
        if (name == "--helio") o.heliocentric = true;
        if (name == "--natz") o.northAmericanLabels = true;
        if (name == "--details") o.includeTransitDetails = true;
        if (name == "--stats") o.stats = true;
        if (name == "--crlf") o.crlf = true;
        if (name == "--box") o.box = true;
    }

    // A word that is no option: a command, or a mistake.
    void Word(const std::string& arg) {
        if (arg.rfind("--", 0) == 0) {
            Fail("unknown option \"" + arg.substr(0, arg.find('=')) + "\"");
            return;
        }
        if (arg == "chart") {
            if (command || chartGiven) {
                Fail("one command at a time, not \"" + arg + "\" as well");
            } else {
                chartGiven = true;
            }
            return;
        }
        const std::pair<const char*, ReportCommand> kCommands[] = {
            {"tables", ReportCommand::Tables},
            {"search", ReportCommand::Search},
            {"showall", ReportCommand::ShowAll},
            {"simulate", ReportCommand::Simulate}};
        std::optional<ReportCommand> c;
        for (const auto& [word, meaning] : kCommands) {
            if (arg == word) c = meaning;
        }
        if (!c) {
            Fail("unknown command \"" + arg + "\" (tables, search, showall or simulate)");
        } else if (command || chartGiven) {
            Fail("one command at a time, not \"" + arg + "\" as well");
        } else {
            command = c;
        }
    }
};

// Every option of the command line: its name, whether it takes a value, the
// reader of its value (for a flag, the setter), and the group it marks as
// given, for the checks of where it belongs.
struct OptionDefinition {
    const char* name;
    bool takesValue;
    void (Parser::*read)(const std::string& name, const std::string& value);
    bool Parser::*given = nullptr;
};
// Data table: every option, declared to CLI11 in this order.
constexpr OptionDefinition kOptionTable[] = {
    {"--first", true, &Parser::Planet},
    {"--second", true, &Parser::Planet},
    {"--helio", false, &Parser::Flag},
    {"--start", true, &Parser::Date},
    {"--end", true, &Parser::Date},
    {"--aspects", true, &Parser::Aspects},
    {"--orbs", true, &Parser::Orbs},
    {"--tz", true, &Parser::Timezone},
    {"--natz", false, &Parser::Flag},
    {"--aspect", true, &Parser::SearchAspect, &Parser::searchGiven},
    {"--orb", true, &Parser::SearchOrb, &Parser::searchGiven},
    {"--from", true, &Parser::SearchFrom, &Parser::searchGiven},
    {"--keep", true, &Parser::Keep, &Parser::keepGiven},
    {"--details", false, &Parser::Flag, &Parser::detailsGiven},
    {"--crlf", false, &Parser::Flag},
    {"--prices", true, &Parser::Prices, &Parser::pricesGiven},
    {"--price-column", true, &Parser::PriceColumn, &Parser::priceColumnGiven},
    {"--stats", false, &Parser::Flag},
    {"--trials", true, &Parser::Trials, &Parser::statsOptionGiven},
    {"--seed", true, &Parser::Seed, &Parser::statsOptionGiven},
    {"--min-trades", true, &Parser::MinTrades, &Parser::familyOptionGiven},
    {"--jobs", true, &Parser::Jobs, &Parser::familyOptionGiven},
    {"--format", true, &Parser::Format},
    {"--box", false, &Parser::Flag},
    {"--of", true, &Parser::ChartOf, &Parser::chartOptionGiven},
    {"--out", true, &Parser::ChartFile, &Parser::chartOptionGiven},
    {"--width", true, &Parser::ChartSize, &Parser::chartOptionGiven},
    {"--height", true, &Parser::ChartSize, &Parser::chartOptionGiven},
};
constexpr std::size_t kOptionCount = std::size(kOptionTable);

const OptionDefinition* FindOption(const std::string& name) {
    for (const OptionDefinition& d : kOptionTable) {
        if (name == d.name) return &d;
    }
    return nullptr;
}

std::size_t TableIndex(const OptionDefinition* d) {
    return static_cast<std::size_t>(d - kOptionTable);
}

bool AsksForHelp(const std::vector<std::string>& args) {
    return std::any_of(args.begin(), args.end(),
                       [](const std::string& arg) { return arg == "--help" || arg == "-h"; });
}

// One argument of the line as it has always been read: an option that takes
// a value takes the next argument whatever it looks like, or the text after
// its "=" (empty included); everything else is a command or a mistake.
struct LineItem {
    const OptionDefinition* option = nullptr;  // null: a command or a mistake
    std::string text;                          // the argument as given
    bool withValue = false;                    // "--name=value"
    bool valueMissing = false;                 // the line ends after the name
};

// Splits the line into its items and the arguments CLI11 is handed: the
// options and their values in the form "--name value".
std::vector<LineItem> ScanLine(const std::vector<std::string>& args,
                               std::vector<std::string>& cliLine) {
    std::vector<LineItem> items;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        LineItem item;
        item.text = arg;
        const std::size_t eq = arg.rfind("--", 0) == 0 ? arg.find('=') : std::string::npos;
        item.option = FindOption(arg.substr(0, eq));
        item.withValue = eq != std::string::npos;
        if (item.option != nullptr && item.option->takesValue) {
            if (item.withValue) {
                cliLine.push_back(item.option->name);
                cliLine.push_back(arg.substr(eq + 1));
            } else if (i + 1 < args.size()) {
                cliLine.push_back(arg);
                cliLine.push_back(args[++i]);
            } else {
                item.valueMissing = true;
            }
        } else if (item.option != nullptr && !item.withValue) {
            cliLine.push_back(arg);
        }
        items.push_back(item);
    }
    return items;
}

// CLI11 holds the options of the table, in the table's order, and reads
// their values.
std::array<CLI::Option*, kOptionCount> DeclareOptions(CLI::App& app) {
    app.set_help_flag();
    app.allow_extras();
    std::array<CLI::Option*, kOptionCount> declared{};
    for (std::size_t k = 0; k < kOptionCount; ++k) {
        const OptionDefinition& d = kOptionTable[k];
        // A flag takes no value; "--helio=yes" is refused when the items are
        // read, before CLI11 would read it as "yes".
        declared[k] =
            d.takesValue ? app.add_option(d.name)->allow_extra_args(false) : app.add_flag(d.name);
        declared[k]->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    }
    return declared;
}

// Empty when CLI11 read the line, else the line that says why not.
std::string ParseWithCli(CLI::App& app, const std::vector<std::string>& cliLine) {
    try {
        // CLI11 takes the arguments last to first.
        std::vector<std::string> reversed(cliLine.rbegin(), cliLine.rend());
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        return std::string("cannot read the command line: ") + e.what();
    }
    return {};
}

// Each item in turn, the n-th use of an option taking CLI11's n-th value of
// it; the first mistake is the one named.
void ReadItems(Parser& p, const std::vector<LineItem>& items,
               const std::array<CLI::Option*, kOptionCount>& declared) {
    std::array<std::size_t, kOptionCount> used{};
    for (const LineItem& item : items) {
        if (p.failed) break;
        if (item.option == nullptr) {
            p.Word(item.text);
            continue;
        }
        const std::string name = item.option->name;
        if (item.option->given != nullptr) p.*item.option->given = true;
        if (!item.option->takesValue) {
            if (item.withValue) {
                p.Fail(name + " takes no value");
            } else {
                (p.*item.option->read)(name, std::string());
            }
        } else if (item.valueMissing) {
            p.Fail(name + " needs a value");
        } else {
            const std::size_t k = TableIndex(item.option);
            const std::vector<std::string>& values = declared[k]->results();
            const std::size_t occurrence = used[k]++;
            if (occurrence >= values.size()) {
                p.Fail("cannot read the command line at " + name);
            } else {
                (p.*item.option->read)(name, values[occurrence]);
            }
        }
    }
}

// The chart command takes the run of --of; its options belong to it alone.
void SettleChart(Parser& p) {
    ReportOptions& o = p.Options();
    if (p.failed) return;
    if (!p.chartGiven) {
        if (p.chartOptionGiven)
            p.Fail("--of, --out, --width and --height belong to the chart command");
        return;
    }
    if (!p.chartOf) {
        p.Fail("chart needs --of tables, showall or simulate");
    } else if (o.chartFile.empty()) {
        p.Fail("chart needs --out FILE.png or --out FILE.svg");
    } else if (o.format != ReportFormat::Text || o.crlf) {
        p.Fail("--format and --crlf do not apply to chart");
    } else {
        p.command = p.chartOf;
        o.chart = true;
    }
}

// The zone's text is looked up in the list as --natz leaves it.
void SettleTimezone(Parser& p) {
    if (p.failed || !p.timezoneText) return;
    bool isLabel = false;
    const int k = TimezoneIndex(*p.timezoneText, p.Options().northAmericanLabels, isLabel);
    if (k == 0) {
        p.Fail("time zone \"" + *p.timezoneText + "\" is not in the list" +
               (isLabel ? std::string(" (its North-American label needs --natz)")
                        : std::string(" (GMT, GMT-11:30 to GMT+11:30 by half hours)")));
    } else {
        p.Options().timezoneIndex = k;
    }
}

// Options that only one command takes, and options that need another.
void CheckBelonging(Parser& p) {
    if (p.failed) return;
    ReportOptions& o = p.Options();
    o.command = *p.command;
    if (p.searchGiven && o.command != ReportCommand::Search) {
        p.Fail("--aspect, --orb and --from belong to the search command");
    } else if (p.keepGiven && o.command != ReportCommand::ShowAll) {
        p.Fail("--keep belongs to the showall command");
    } else if (p.detailsGiven && o.command != ReportCommand::Simulate) {
        p.Fail("--details belongs to the simulate command");
    } else if (((p.pricesGiven && !o.chart) || o.stats) && o.command != ReportCommand::Simulate) {
        p.Fail("--prices and --stats belong to the simulate command");
    } else if (p.priceColumnGiven && !p.pricesGiven) {
        p.Fail("--price-column needs --prices");
    } else if (p.statsOptionGiven && !o.stats) {
        p.Fail("--trials and --seed need --stats");
    } else if (p.familyOptionGiven && !o.stats) {
        p.Fail("--min-trades and --jobs need --stats");
    }
}

}  // namespace

ReportArguments ParseReportArguments(const std::vector<std::string>& args) {
    // Asking for help is never a mistake, whatever else the line holds.
    if (AsksForHelp(args)) {
        ReportArguments help;
        help.help = true;
        return help;
    }
    std::vector<std::string> cliLine;
    const std::vector<LineItem> items = ScanLine(args, cliLine);
    CLI::App app("vlt-report");
    const std::array<CLI::Option*, kOptionCount> declared = DeclareOptions(app);
    Parser p;
    p.result.error = ParseWithCli(app, cliLine);
    if (!p.result.error.empty()) return p.result;

    ReadItems(p, items, declared);
    SettleChart(p);
    if (!p.failed && !p.command) p.Fail("no command (tables, search, showall or simulate)");
    SettleTimezone(p);
    CheckBelonging(p);
    p.result.ok = !p.failed;
    return p.result;
}

// Data table: the usage text, one line per line of --help.
std::string ReportUsageText() {
    return R"(Usage: vlt-report COMMAND [OPTIONS]

Runs one command of the Veltaro window without a screen and prints the text
that the window's output box would hold, with LF line ends, as it is made:
each finished transit (each investment line) appears at once, and a report
of any length is printed whole.  Every option sets the window control of the
same meaning; an option left out keeps the window's default at its first
start.  Data files are read from the program's folder, DJIA_data.txt from
the current folder; the saved program state is neither read nor written.

Commands:
  tables     construct transit tables (the planet-pair button)
               vlt-report tables --first Mars --second Jupiter --start 2024-01-01 --end 2024-12-31
  search     search for the first transit of one aspect
               vlt-report search --first Jupiter --second Saturn --aspect con --orb 6 --from start
  showall    transit tables of one planet with every other planet
               vlt-report showall --first Venus --keep first --start 2024-01-01 --end 2024-03-31
  chart      the chart of a tables, showall or simulate run as an image file:
             the orb intervals and minima of each transit over the index
             line, or each aspect's gain over the price line
               vlt-report chart --of tables --first Mars --second Jupiter --start 2007-01-03 --end 2014-12-31 --out mars-jupiter.png
               vlt-report chart --of simulate --first Earth --second Mars --start 2010-01-01 --end 2012-12-31 --out gains.svg
  simulate   simulate investment in the DJIA index (heliocentric, or
             geocentric with --first Sun; dates within 2007-01-03 through
             2014-12-31), or in any daily
             price series with --prices (dates within the file's first and
             last price)
               vlt-report simulate --first Earth --second Mars --start 2010-01-01 --end 2010-12-31 --details
               vlt-report simulate --first Earth --second Mars --start 2010-01-01 --end 2010-12-31 --prices spy.csv --stats

Options:
  --first PLANET      first planet: Sun (or Earth), Mercury, Venus, Mars, Jupiter,
                      Saturn, Uranus, Neptune, or Pluto (no entry of the first
                      list selected); default Mars        e.g. --first Venus
  --second PLANET     second planet: Mercury ... Neptune, Pluto; default Jupiter
                                                          e.g. --second Saturn
  --helio             heliocentric centricity (default geocentric); planet 1
                      is then named Earth                 e.g. --helio --first Earth
  --start YYYY-MM-DD  start date; default 1 January of this year
                                                          e.g. --start 2024-05-05
  --end YYYY-MM-DD    end date; default 31 December of this year
                                                          e.g. --end 2024-12-31
  --aspects LIST      aspect types, comma-separated from con, opp, sqr, tri,
                      sxt, ssx, qui; default all          e.g. --aspects con,opp,sqr
  --orbs O,M,I        outer, middle and inner orb in whole degrees 1 to 15,
                      strictly decreasing; default 10,5,2
                                                          e.g. --orbs 8,4,1
  --tz ZONE           time zone of the results as the list shows it: GMT, or
                      GMT-11:30 to GMT+11:30 by half hours (hours without a
                      leading zero); default the computer's zone
                                                          e.g. --tz GMT+1:00
  --natz              North-American labels in the time-zone list (then --tz
                      also takes HAST, AKST/HADT, PST/AKDT, MST/PDT, CST/MDT,
                      EST/CDT, AST/EDT, NST, ADT, NDT)    e.g. --natz --tz EST/CDT
  --aspect ASPECT     search: the aspect to find, one of con, opp, sqr, tri,
                      sxt, ssx, qui; default con          e.g. --aspect tri
  --orb DEGREES       search: outer orb, 3 to 15 (middle and inner follow);
                      default 6                           e.g. --orb 8
  --from start|end    search: on or after the start date (default) or the end
                      date                                e.g. --from end
  --keep first|second showall: keep the first planet and pair it with every
                      planet of the second list (default), or keep the second
                      planet and pair it with every first planet and Pluto
                                                          e.g. --keep second
  --details           simulate: include every investment and redemption
                                                          e.g. simulate --details
  --prices FILE       simulate: value the days from FILE instead of
                      DJIA_data.txt: either lines "YYYY-MM-DD,value" (a date
                      alone: no trading) or CSV with a header naming a Date
                      and a Close column; empty, null or NaN: no trading; a
                      day without a value takes the next within four days
                                                          e.g. --prices spy.csv
                      chart: the price line of any chart from FILE
                                                          e.g. chart --of tables --prices spy.csv
  --price-column NAME simulate, chart: the CSV column to read instead of Close
                                                          e.g. --price-column "Adj Close"
  --stats             simulate: per aspect and orb the trades, winners, total
                      and mean gain, mean holding days, time in the market,
                      annual return, drawdown, buy and hold over as many days,
                      and p, p adjusted for all the combinations of the run
                      (Romano-Wolf) and q (Benjamini-Hochberg) against random
                      timing (see docs/statistics.md)     e.g. simulate --stats
  --trials N          simulate --stats: random runs, 1 to 1000000; default 1000
                                                          e.g. --trials 5000
  --seed N            simulate --stats: seed of the random runs (the same seed
                      gives the same numbers everywhere); default 1
                                                          e.g. --seed 42
  --min-trades N      simulate --stats: fewer trades are "too few trades",
                      outside the family; default 5       e.g. --min-trades 10
  --jobs N            simulate --stats: threads for the random runs, 1 to
                      1024 (same numbers for any); default: every core
                                                          e.g. --jobs 2
  --format FORMAT     text (default: the output box's text), csv or json (one
                      record per transit row, or per investment and redemption
                      with the summary; see docs/report-formats.md)
                                                          e.g. --format json
  --crlf              CR LF line ends, as the output box holds them
                                                          e.g. --crlf > report.txt
  --box               the window's output box exactly: transit tables stop
                      once the box holds more than 64,000 characters, the
                      simulation once it holds more than 65,000, with the
                      window's message "Output textbox is full." (exit 1);
                      the text is printed when the command ends
                                                          e.g. --box
  --of KIND           chart: the run to draw, tables, showall or simulate
                      (each takes its own options)        e.g. --of showall
  --out FILE          chart: the image file, PNG or SVG by its ending
                                                          e.g. --out chart.svg
  --width N, --height N
                      chart: the image's size in pixels, 200 to 10000;
                      default 1200 by 700                 e.g. --width 1600
  --help              this text

Options take their value as the next argument or after "=" (--tz=GMT+1:00).

Exit status: 0 the report was made; 1 the window refused the request or
ended it early (its message is on standard error, as the window would show
it in a box), or the price file cannot be read or is malformed (one line
naming the file, line and column); 2 the command line is wrong (one line on
standard error); 130 Ctrl-C stopped the statistics (nothing of them, and no
records, written).
)";
}

}  // namespace vlt

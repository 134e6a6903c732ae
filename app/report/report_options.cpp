#include "app/report/report_options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>

#include "app/positions/request_rules.h"
#include "app/positions/vocabulary.h"
#include "app/window/timezones.h"

namespace vlt {
namespace {

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool AllDigits(const std::string& s) {
    if (s.empty()) return false;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// A whole number of at most `maxDigits` digits, nothing else.
std::optional<int> WholeNumber(const std::string& s, std::size_t maxDigits) {
    if (!AllDigits(s) || s.size() > maxDigits) return std::nullopt;
    return std::stoi(s);
}

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : s) {
        if (c == sep) {
            parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    parts.push_back(part);
    return parts;
}

constexpr const char* kPlanetChoices =
    "Sun or Earth, Mercury, Venus, Mars, Jupiter, Saturn, Uranus, Neptune, Pluto";

// Program planet number 1..9 of a name (either name of planet 1), 0 when the
// name is unknown.
int PlanetNumber(const std::string& name) {
    const std::string n = Lower(name);
    if (n == "earth") return 1;
    for (int p = 1; p <= 9; ++p) {
        if (n == Lower(PlanetName(static_cast<std::int16_t>(p), false, false))) return p;
    }
    return 0;
}

int AspectNumber(const std::string& name) {
    const std::string n = Lower(name);
    for (int a = 1; a <= 7; ++a) {
        if (n == AspectOptionNames()[static_cast<std::size_t>(a - 1)]) return a;
    }
    return 0;
}

std::string AspectChoices() {
    std::string s;
    for (const char* a : AspectOptionNames()) {
        if (!s.empty()) s += ',';
        s += a;
    }
    return s;
}

// YYYY-MM-DD (year 1 to 4 digits, month and day 1 or 2) naming a day of the
// Gregorian calendar.
std::optional<ReportDate> ParseDate(const std::string& text) {
    const std::vector<std::string> parts = Split(text, '-');
    if (parts.size() != 3) return std::nullopt;
    const auto y = WholeNumber(parts[0], 4);
    const auto m = WholeNumber(parts[1], 2);
    const auto d = WholeNumber(parts[2], 2);
    if (!y || !m || !d || !GregorianDateExists(*y, *m, *d)) {
        return std::nullopt;
    }
    return ReportDate{*y, *m, *d};
}

// The time-zone list's position of a text, 1..47, or 0.  The offsets are
// always understood; the North-American labels only when the list shows
// them.
int TimezoneIndex(const std::string& text, bool labels, bool& isLabel) {
    isLabel = false;
    const std::vector<std::string> plain = TimezoneEntryTexts(false);
    const std::vector<std::string> labelled = TimezoneEntryTexts(true);
    const std::string t = Lower(text);
    for (int k = 1; k < kTimezoneCount; ++k) {
        if (t == Lower(plain[static_cast<std::size_t>(k)])) return k;
    }
    for (int k = 1; k < kTimezoneCount; ++k) {
        if (t == Lower(labelled[static_cast<std::size_t>(k)])) {
            isLabel = true;
            return labels ? k : 0;
        }
    }
    return 0;
}

struct Parser {
    ReportArguments result;
    std::optional<ReportCommand> command;
    std::optional<std::string> timezoneText;
    bool failed = false;

    void Fail(const std::string& message) {
        if (!failed) result.error = message;
        failed = true;
    }

    void Option(const std::string& name, const std::string& value) {
        ReportOptions& o = result.options;
        if (name == "--first" || name == "--second") {
            const int p = PlanetNumber(value);
            if (p == 0) {
                Fail("unknown planet \"" + value + "\" for " + name + " (" + kPlanetChoices + ")");
            } else if (name == "--first") {
                o.firstPlanetIndex = FirstListIndexOfPlanet(p);
            } else if (p == 1) {
                Fail("the second planet list holds Mercury to Pluto, not \"" + value + "\"");
            } else {
                o.secondPlanetIndex = SecondListIndexOfPlanet(p);
            }
        } else if (name == "--start" || name == "--end") {
            const auto date = ParseDate(value);
            if (!date) {
                Fail("malformed date \"" + value + "\" for " + name +
                     " (a calendar date as YYYY-MM-DD, e.g. 2024-05-05)");
            } else {
                (name == "--start" ? o.start : o.end) = *date;
            }
        } else if (name == "--aspects") {
            std::array<bool, 7> checked{};
            for (const std::string& a : Split(value, ',')) {
                const int n = AspectNumber(a);
                if (n == 0) {
                    Fail("unknown aspect \"" + a + "\" for --aspects (" + AspectChoices() + ")");
                    return;
                }
                checked[static_cast<std::size_t>(n - 1)] = true;
            }
            o.aspects = checked;
        } else if (name == "--orbs") {
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
                o.orbs = orbs;
            }
        } else if (name == "--tz") {
            timezoneText = value;
        } else if (name == "--aspect") {
            const int n = AspectNumber(value);
            if (n == 0) {
                Fail("unknown aspect \"" + value + "\" for --aspect (one of " + AspectChoices() + ")");
            } else {
                o.searchAspect = n;
            }
        } else if (name == "--orb") {
            const auto d = WholeNumber(value, 2);
            if (!d || *d < 3 || *d > 15) {
                Fail("search orb \"" + value + "\" for --orb is not a whole degree from 3 to 15");
            } else {
                o.searchOrb = *d;
            }
        } else if (name == "--from") {
            const std::string v = Lower(value);
            if (v == "start" || v == "end") {
                o.searchFrom = v == "start" ? 0 : 1;
            } else {
                Fail("--from takes start or end, not \"" + value + "\"");
            }
        } else if (name == "--prices") {
            if (value.empty()) {
                Fail("--prices needs a file name");
            } else {
                o.pricesFile = value;
            }
            pricesGiven = true;
        } else if (name == "--price-column") {
            if (value.empty()) {
                Fail("--price-column needs a column name");
            } else {
                o.priceColumn = value;
            }
            priceColumnGiven = true;
        } else if (name == "--trials") {
            const auto n = WholeNumber(value, 7);
            if (!n || *n < 1 || *n > 1000000) {
                Fail("--trials takes a whole number from 1 to 1000000, not \"" + value + "\"");
            } else {
                o.trials = *n;
            }
            statsOptionGiven = true;
        } else if (name == "--seed") {
            if (!AllDigits(value) || value.size() > 19) {
                Fail("--seed takes a whole number of at most 19 digits, not \"" + value + "\"");
            } else {
                o.seed = std::stoull(value);
            }
            statsOptionGiven = true;
        } else if (name == "--format") {
            const std::string v = Lower(value);
            if (v == "text") {
                o.format = ReportFormat::Text;
            } else if (v == "csv") {
                o.format = ReportFormat::Csv;
            } else if (v == "json") {
                o.format = ReportFormat::Json;
            } else {
                Fail("--format takes text, csv or json, not \"" + value + "\"");
            }
        } else if (name == "--of") {
            const std::string v = Lower(value);
            if (v == "tables") {
                chartOf = ReportCommand::Tables;
            } else if (v == "showall") {
                chartOf = ReportCommand::ShowAll;
            } else if (v == "simulate") {
                chartOf = ReportCommand::Simulate;
            } else {
                Fail("--of takes tables, showall or simulate, not \"" + value + "\"");
            }
            chartOptionGiven = true;
        } else if (name == "--out") {
            const std::string v = Lower(value);
            const auto endsWith = [&v](const char* e) {
                const std::string end(e);
                return v.size() > end.size() && v.compare(v.size() - end.size(), end.size(), end) == 0;
            };
            if (!endsWith(".png") && !endsWith(".svg")) {
                Fail("--out takes a file name ending in .png or .svg, not \"" + value + "\"");
            } else {
                o.chartFile = value;
            }
            chartOptionGiven = true;
        } else if (name == "--width" || name == "--height") {
            const auto n = WholeNumber(value, 5);
            if (!n || *n < 200 || *n > 10000) {
                Fail(name + " takes a whole number of pixels from 200 to 10000, not \"" + value +
                     "\"");
            } else {
                (name == "--width" ? o.chartWidth : o.chartHeight) = *n;
            }
            chartOptionGiven = true;
        } else if (name == "--keep") {
            const std::string v = Lower(value);
            if (v == "first" || v == "second") {
                o.showAllItem = v == "first" ? 1 : 0;
                keepGiven = true;
            } else {
                Fail("--keep takes first or second, not \"" + value + "\"");
            }
        }
    }

    void Flag(const std::string& name) {
        ReportOptions& o = result.options;
        if (name == "--helio") {
            o.heliocentric = true;
        } else if (name == "--natz") {
            o.northAmericanLabels = true;
        } else if (name == "--details") {
            o.includeTransitDetails = true;
            detailsGiven = true;
        } else if (name == "--stats") {
            o.stats = true;
        } else if (name == "--crlf") {
            o.crlf = true;
        } else if (name == "--box") {
            o.box = true;
        }
    }

    bool keepGiven = false;
    bool chartGiven = false;        // the command word "chart"
    bool chartOptionGiven = false;  // --of, --out, --width, --height
    std::optional<ReportCommand> chartOf;
    bool pricesGiven = false;
    bool priceColumnGiven = false;
    bool statsOptionGiven = false;
    bool searchGiven = false;
    bool detailsGiven = false;
};

// Every option of the command line: its name and whether it takes a value.
// Values are checked by Parser::Option, flags set by Parser::Flag.
struct OptionDefinition {
    const char* name;
    bool takesValue;
};
constexpr OptionDefinition kOptionTable[] = {
    {"--first", true},  {"--second", true}, {"--helio", false},  {"--start", true},
    {"--end", true},    {"--aspects", true}, {"--orbs", true},   {"--tz", true},
    {"--natz", false},  {"--aspect", true}, {"--orb", true},     {"--from", true},
    {"--keep", true},   {"--details", false}, {"--crlf", false}, {"--prices", true},
    {"--price-column", true}, {"--stats", false}, {"--trials", true}, {"--seed", true},
    {"--format", true}, {"--box", false},
    {"--of", true},     {"--out", true},    {"--width", true},   {"--height", true},
};

const OptionDefinition* FindOption(const std::string& name) {
    for (const OptionDefinition& d : kOptionTable) {
        if (name == d.name) return &d;
    }
    return nullptr;
}

}  // namespace

const std::array<const char*, 7>& AspectOptionNames() {
    static const std::array<const char*, 7> kNames = {"con", "opp", "sqr", "tri",
                                                      "sxt", "ssx", "qui"};
    return kNames;
}

ReportArguments ParseReportArguments(const std::vector<std::string>& args) {
    // Asking for help is never a mistake, whatever else the line holds.
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            ReportArguments help;
            help.help = true;
            return help;
        }
    }
    Parser p;
    ReportOptions& o = p.result.options;

    // CLI11 holds the options of the table and reads their values.
    CLI::App app("vlt-report");
    app.set_help_flag();
    app.allow_extras();
    std::vector<std::pair<const OptionDefinition*, CLI::Option*>> defined;
    for (const OptionDefinition& d : kOptionTable) {
        // A flag takes no value; "--helio=yes" is caught below, before CLI11
        // would read it as "yes".
        CLI::Option* option = d.takesValue ? app.add_option(d.name)->allow_extra_args(false)
                                           : app.add_flag(d.name);
        option->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
        defined.emplace_back(&d, option);
    }

    // The line as it has always been read: an option that takes a value
    // takes the next argument whatever it looks like, or the text after its
    // "=" (empty included); everything else is a command or a mistake.  CLI11
    // is handed the options and their values in that form; then each argument
    // is checked in turn and the first mistake is the one named.
    struct Item {
        const OptionDefinition* option = nullptr;  // null: a command or a mistake
        std::string text;                          // the argument as given
        bool withValue = false;                    // "--name=value"
        bool valueMissing = false;                 // the line ends after the name
    };
    std::vector<Item> items;
    std::vector<std::string> line;  // what CLI11 reads, the same arguments
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        Item item;
        item.text = arg;
        const std::size_t eq = arg.rfind("--", 0) == 0 ? arg.find('=') : std::string::npos;
        item.option = FindOption(arg.substr(0, eq));
        item.withValue = eq != std::string::npos;
        if (item.option != nullptr && item.option->takesValue) {
            if (item.withValue) {
                line.push_back(item.option->name);
                line.push_back(arg.substr(eq + 1));
            } else if (i + 1 < args.size()) {
                line.push_back(arg);
                line.push_back(args[++i]);
            } else {
                item.valueMissing = true;
            }
        } else if (item.option != nullptr && !item.withValue) {
            line.push_back(arg);
        }
        items.push_back(item);
    }
    try {
        // CLI11 takes the arguments last to first.
        std::vector<std::string> reversed(line.rbegin(), line.rend());
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        p.result.error = std::string("cannot read the command line: ") + e.what();
        return p.result;
    }

    std::vector<std::pair<CLI::Option*, std::size_t>> taken;  // values used so far
    for (const Item& item : items) {
        if (p.failed) break;
        if (item.option == nullptr) {
            const std::string& arg = item.text;
            if (arg.rfind("--", 0) == 0) {
                p.Fail("unknown option \"" + arg.substr(0, arg.find('=')) + "\"");
                continue;
            }
            if (arg == "chart") {
                if (p.command || p.chartGiven) {
                    p.Fail("one command at a time, not \"" + arg + "\" as well");
                } else {
                    p.chartGiven = true;
                }
                continue;
            }
            std::optional<ReportCommand> c;
            if (arg == "tables") c = ReportCommand::Tables;
            if (arg == "search") c = ReportCommand::Search;
            if (arg == "showall") c = ReportCommand::ShowAll;
            if (arg == "simulate") c = ReportCommand::Simulate;
            if (!c) {
                p.Fail("unknown command \"" + arg + "\" (tables, search, showall or simulate)");
            } else if (p.command || p.chartGiven) {
                p.Fail("one command at a time, not \"" + arg + "\" as well");
            } else {
                p.command = c;
            }
            continue;
        }
        const std::string name = item.option->name;
        if (!item.option->takesValue) {
            if (item.withValue) {
                p.Fail(name + " takes no value");
            } else {
                p.Flag(name);
            }
            continue;
        }
        if (item.valueMissing) {
            p.Fail(name + " needs a value");
            continue;
        }
        CLI::Option* option = nullptr;
        for (const auto& [d, o2] : defined) {
            if (d == item.option) option = o2;
        }
        std::size_t occurrence = 0;
        bool counted = false;
        for (auto& [o2, n] : taken) {
            if (o2 == option) {
                occurrence = n++;
                counted = true;
            }
        }
        if (!counted) taken.emplace_back(option, 1);
        const std::vector<std::string>& values = option->results();
        if (occurrence >= values.size()) {
            p.Fail("cannot read the command line at " + name);
            continue;
        }
        if (name == "--aspect" || name == "--orb" || name == "--from") p.searchGiven = true;
        p.Option(name, values[occurrence]);
    }
    if (!p.failed && p.chartGiven) {
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
    } else if (!p.failed && p.chartOptionGiven) {
        p.Fail("--of, --out, --width and --height belong to the chart command");
    }
    if (!p.failed && !p.command) p.Fail("no command (tables, search, showall or simulate)");
    if (!p.failed && p.timezoneText) {
        bool isLabel = false;
        const int k = TimezoneIndex(*p.timezoneText, o.northAmericanLabels, isLabel);
        if (k == 0) {
            p.Fail("time zone \"" + *p.timezoneText + "\" is not in the list" +
                   (isLabel ? std::string(" (its North-American label needs --natz)")
                            : std::string(" (GMT, GMT-11:30 to GMT+11:30 by half hours)")));
        } else {
            o.timezoneIndex = k;
        }
    }
    if (!p.failed) {
        o.command = *p.command;
        if (p.searchGiven && o.command != ReportCommand::Search) {
            p.Fail("--aspect, --orb and --from belong to the search command");
        } else if (p.keepGiven && o.command != ReportCommand::ShowAll) {
            p.Fail("--keep belongs to the showall command");
        } else if (p.detailsGiven && o.command != ReportCommand::Simulate) {
            p.Fail("--details belongs to the simulate command");
        } else if ((p.pricesGiven || o.stats) && o.command != ReportCommand::Simulate) {
            p.Fail("--prices and --stats belong to the simulate command");
        } else if (p.priceColumnGiven && !p.pricesGiven) {
            p.Fail("--price-column needs --prices");
        } else if (p.statsOptionGiven && !o.stats) {
            p.Fail("--trials and --seed need --stats");
        }
    }
    p.result.ok = !p.failed;
    return p.result;
}

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
  simulate   simulate investment in the DJIA index (always heliocentric;
             dates within 2007-01-03 through 2014-12-31), or in any daily
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
  --price-column NAME simulate: the CSV column to read instead of Close
                                                          e.g. --price-column "Adj Close"
  --stats             simulate: per aspect and orb the trades, winners, total
                      and mean gain, mean holding days, buy and hold over the
                      period, and a random-timing baseline (each trade's
                      holding time kept, its start drawn uniformly from the
                      period)                             e.g. simulate --stats
  --trials N          simulate --stats: random runs, 1 to 1000000; default 1000
                                                          e.g. --trials 5000
  --seed N            simulate --stats: seed of the random runs (the same seed
                      gives the same numbers everywhere); default 1
                                                          e.g. --seed 42
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
standard error).
)";
}

}  // namespace vlt

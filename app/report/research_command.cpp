// vlt-report research: every planet pair of two lists, every chosen aspect
// and orb, judged as one family on a price file; the ranked table, the
// hold-out and a chart.  The report is made whole before any of it is
// printed, so that a failure or Ctrl-C leaves nothing half-written.
#include <optional>
#include <sstream>
#include <stop_token>
#include <string>
#include <thread>

#include "app/chart/research_chart.h"
#include "app/positions/pluto_tables.h"
#include "app/positions/positions.h"
#include "app/report/command_line.h"
#include "app/report/event_backtest_run.h"
#include "app/report/option_values.h"
#include "app/report/price_file_options.h"
#include "app/report/report_run.h"
#include "app/report/research_formats.h"
#include "app/report/stats_progress.h"

namespace vlt {
namespace {

// The event backtest's options (event_words.h describes EVENT).
const char* OpenHelp() {
    static const std::string kText =
        std::string(
            "instead of planet pairs, buy at each EVENT; a list\n(or the option again) "
            "tries each, with every --close\nas one family; a trade still open at the "
            "end is not\ncounted.  ") +
        kEventWordsHelp;
    return kText.c_str();
}
constexpr const char* kCloseHelp =
    "sell at the close of the first trading day on or\nafter the first EVENT after the buying "
    "day; a list\ntries each";
constexpr const char* kResearchHoldHelp =
    "sell DAYS trading days after the buying day\n(1 to 1000) instead of at --close";

const CommandSpec& ResearchSpec() {
    static const CommandSpec kSpec{
        "research",
        "Every pair of the first and second planet lists (from the Sun, the Earth\n"
        "or both), every chosen aspect and orb, simulated on a price file and judged\n"
        "as one family: p, p_adjusted (Romano-Wolf) and q (Benjamini-Hochberg) over\n"
        "every combination tried.  Bad input: one line on standard error, exit 2 for\n"
        "the command line (--trials 0, --jobs 0, --holdout 95%), 1 for the data (a\n"
        "price file with fewer than 30 prices in the period or its hold-out).",
        {"research --prices dji.csv --start 1990-01-01 --end 2024-12-31 --holdout 30%",
         "research --prices btc.csv --both --aspects con,opp,sqr --format json",
         "research --prices dji.csv --open new-moon,station-direct:all --close full-moon"},
        {
            {"--prices", "FILE", "the daily prices (required)", nullptr},
            {"--price-column", "NAME", "the CSV column to read instead of Close",
             "--price-column \"Adj Close\""},
            {"--start", "DATE", "first day; default the file's first", "--start 1990-01-01"},
            {"--end", "DATE", "last day; default the file's last", "--end 2024-12-31"},
            {"--helio", nullptr, "from the Sun (the default)", nullptr},
            {"--geo", nullptr, "from the Earth (the first list's Earth is the Sun)", nullptr},
            {"--both", nullptr, "from both, one family", nullptr},
            {"--first", "LIST", "first planets, comma-separated; default Earth to Pluto",
             "--first Earth,Mars"},
            {"--second", "LIST", "second planets; default Mercury to Pluto",
             "--second Jupiter,Saturn"},
            {"--aspects", "LIST",
             "aspect types from "
             "con,opp,sqr,tri,sxt,ssx,qui;\ndefault all",
             "--aspects con,opp,sqr"},
            {"--orbs", "O,M,I",
             "outer, middle and inner orb, whole degrees 1 to\n15; default 10,5,2", "--orbs 8,4,1"},
            {"--trials", "N", "random-timing runs, 1 to 1000000; default 1000", nullptr},
            {"--seed", "N", "seed of the random runs; default 1", nullptr},
            {"--holdout", "P%",
             "judge on the earlier part only and value the ten\nbest again "
             "on the last P % (1 to 50)",
             "--holdout 30%"},
            {"--jobs", "N",
             "threads, 1 to 1024; default all cores (any count\ngives the same "
             "result)",
             nullptr},
            {"--min-trades", "N",
             "fewer trades are \"too few trades\", outside the\nfamily; "
             "default 5",
             nullptr},
            {"--open", "EVENT", OpenHelp(), "--open new-moon,first-quarter"},
            {"--close", "EVENT", kCloseHelp, "--close full-moon"},
            {"--hold", "DAYS", kResearchHoldHelp, "--hold 20"},
            {"--format", "F", "text, csv or json; default text", "--format json"},
            {"--chart", "FILE",
             "also draw the ranked p-values and the best\nequity curves "
             "(.png or .svg)",
             "--chart research.svg"},
        }};
    return kSpec;
}

struct ResearchOptions {
    ResearchRequest request;
    PriceFileOptions file;
    EventBacktestOptions events;  // with --open: the backtest on dated events
};

std::optional<std::string> ReadPlanets(const std::string& value, std::vector<int>& list,
                                       const char* name, int lowest) {
    list.clear();
    for (const std::string& word : Split(value, ',')) {
        const int p = PlanetNumber(word);
        if (p < lowest) {
            return "unknown planet \"" + word + "\" for " + name + " (" + kPlanetChoices +
                   (lowest > 1 ? "; not Earth or Sun" : "") + ")";
        }
        list.push_back(p);
    }
    return std::nullopt;
}

std::optional<std::string> ReadOrbs(const std::string& value, ResearchOptions& o) {
    const std::vector<std::string> parts = Split(value, ',');
    bool good = parts.size() == 3;
    for (std::size_t i = 0; good && i < 3; ++i) {
        const auto d = WholeNumberIn(parts[i], 2, 1, 15);
        good = d.has_value();
        if (good) o.request.orbs[i] = *d;
    }
    if (good && OrbsStrictlyDecreasing(o.request.orbs[0], o.request.orbs[1], o.request.orbs[2])) {
        return std::nullopt;
    }
    return "orbs \"" + value +
           "\" for --orbs are not outer,middle,inner in whole degrees 1 to 15, " +
           "strictly decreasing (e.g. 10,5,2)";
}

std::optional<std::string> ReadHoldout(const std::string& value, ResearchOptions& o) {
    std::string number = value;
    if (!number.empty() && number.back() == '%') number.pop_back();
    const auto n = WholeNumberIn(number, 3, 1, kResearchMaxHoldoutPercent);
    if (!n) {
        return "--holdout takes a share of the period from 1% to " +
               std::to_string(kResearchMaxHoldoutPercent) + "%, not \"" + value + "\"";
    }
    o.request.holdoutPercent = *n;
    return std::nullopt;
}

const OwnOptionReader<ResearchOptions> kReaders[] = {
    {"--first",
     [](const std::string& v, ResearchOptions& o) {
         return ReadPlanets(v, o.request.firstPlanets, "--first", 1);
     }},
    {"--second",
     [](const std::string& v, ResearchOptions& o) {
         return ReadPlanets(v, o.request.secondPlanets, "--second", 2);
     }},
    {"--aspects", [](const std::string& v,
                     ResearchOptions& o) { return ReadAspectsOption(v, o.request.aspects); }},
    {"--orbs", ReadOrbs},
    {"--trials",
     [](const std::string& v, ResearchOptions& o) {
         return ReadWholeOption(v, o.request.trials, "--trials", 1, 1000000);
     }},
    {"--seed",
     [](const std::string& v, ResearchOptions& o) { return ReadSeedOption(v, o.request.seed); }},
    {"--holdout", ReadHoldout},
    {"--jobs",
     [](const std::string& v, ResearchOptions& o) {
         return ReadWholeOption(v, o.request.jobs, "--jobs", 1, 1024);
     }},
    {"--min-trades",
     [](const std::string& v, ResearchOptions& o) {
         return ReadWholeOption(v, o.request.minTrades, "--min-trades", 1, 1000000);
     }},
};

// --open, --close and --hold: every kind each use names, and the options
// that only planet pairs take refused beside them.
std::optional<std::string> ReadEvents(const CommandLine& line, EventBacktestOptions& e) {
    for (const CommandLine::Use& use : line.uses) {
        const bool open = use.name == "--open";
        if (!open && use.name != "--close") continue;
        for (const std::string& value : use.values) {
            for (const std::string& word : Split(value, ',')) {
                if (auto problem = ReadEventWord(word, use.name.c_str(), open ? e.opens : e.closes))
                    return problem;
            }
        }
    }
    if (auto hold = line.Value("--hold")) {
        if (auto problem = ReadWholeOption(*hold, e.holdDays, "--hold", 1, kMaxHoldDays)) {
            return problem;
        }
    }
    if (e.opens.empty() && e.closes.empty() && e.holdDays == 0) return std::nullopt;
    for (const char* pair : {"--first", "--second", "--aspects", "--orbs", "--helio", "--geo",
                             "--both", "--holdout", "--chart"}) {
        if (line.Given(pair)) return std::string(pair) + " does not go with --open";
    }
    return EventBacktestProblem(e);
}

// The options of a line, or the first thing wrong with them.
std::optional<std::string> ReadOptions(const CommandLine& line, ResearchOptions& o) {
    o.request.jobs = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    if (auto problem = ReadPriceFileOptions<ResearchOptions>(line, o.file, kReaders, o)) {
        return problem;
    }
    const int centres = line.Given("--helio") + line.Given("--geo") + line.Given("--both");
    if (centres > 1) return "give one of --helio, --geo and --both";
    if (line.Given("--geo")) o.request.centres = ResearchCentres::Geo;
    if (line.Given("--both")) o.request.centres = ResearchCentres::Both;
    if (o.file.pricesFile.empty()) return "research needs --prices FILE";
    return ReadEvents(line, o.events);
}

// research --open: the family of event combinations, with the research's
// price file, period, trials, seed, jobs, minimum and format.
int RunEventResearch(ResearchOptions& o, CommandIo& io) {
    EventBacktestOptions& e = o.events;
    e.pricesFile = o.file.pricesFile;
    e.priceColumn = o.file.priceColumn;
    e.start = o.file.start;
    e.end = o.file.end;
    e.trials = o.request.trials;
    e.seed = o.request.seed;
    e.jobs = o.request.jobs;
    e.minTrades = o.request.minTrades;
    e.format = o.file.format == TableFormat::Csv    ? EventBacktestFormat::Csv
               : o.file.format == TableFormat::Json ? EventBacktestFormat::Json
                                                    : EventBacktestFormat::Text;
    return RunEventBacktest(e, io);
}

// Progress on standard error when a person watches; Ctrl-C stops the run.
class ProgressObserver final : public ResearchObserver {
public:
    ProgressObserver(std::optional<ProgressLine>& line, std::stop_source& stop)
        : line_(line), stop_(stop) {}
    void Progress(const ResearchProgress& progress) override {
        if (line_) line_->Show(progress.fraction);
        if (InterruptGuard::Interrupted()) stop_.request_stop();
    }

private:
    std::optional<ProgressLine>& line_;
    std::stop_source& stop_;
};

const char* CentresText(ResearchCentres centres) {
    switch (centres) {
        case ResearchCentres::Helio: return "helio";
        case ResearchCentres::Geo: return "geo";
        case ResearchCentres::Both: return "both";
    }
    return "helio";
}

std::string Formatted(const ResearchOptions& o, const ResearchResult& result) {
    const ResearchReport report{o.file.pricesFile, CentresText(o.request.centres),
                                static_cast<int>(ResearchPairs(o.request).size()),
                                o.request.holdoutPercent, &result};
    switch (o.file.format) {
        case TableFormat::Csv: return ResearchCsv(report);
        case TableFormat::Json: return ResearchJson(report);
        case TableFormat::Text: break;
    }
    return ResearchText(report);
}

// The request from the options and the price file; false with one line on
// `messages` when the file or the period will not do.
bool PrepareRequest(ResearchOptions& o, std::ostream& messages) {
    if (!LoadPrices(o.file, o.request.prices, messages)) return false;
    if (o.file.start) o.request.startDay = DayNumberOf(*o.file.start);
    if (o.file.end) o.request.endDay = DayNumberOf(*o.file.end);
    if (auto problem = ResearchRequestProblem(o.request)) {
        messages << "vlt-report: " << *problem << '\n';
        return false;
    }
    return true;
}

ResearchResult Researched(const ResearchOptions& o, CommandIo& io) {
    InitPositions();
    MessageLines lines(io.messages);
    ReadPlutoData(lines);
    const InterruptGuard interrupts;
    std::stop_source stop;
    std::optional<ProgressLine> line;
    if (io.showProgress) line.emplace(io.messages, "Research");
    ProgressObserver observer(line, stop);
    ResearchResult result = RunResearch(o.request, observer, stop.get_token());
    if (line) line->Clear();
    return result;
}

int RunResearchCommand(const CommandLine& line, CommandIo& io) {
    ResearchOptions o;
    if (auto problem = ReadOptions(line, o)) return RefusedOptions(*problem, io);
    if (!o.events.opens.empty()) return RunEventResearch(o, io);
    if (!PrepareRequest(o, io.messages)) return kReportRefused;
    const ResearchResult result = Researched(o, io);
    if (result.status == ResearchStatus::Stopped) {
        io.messages << "vlt-report: interrupted; the research was not finished and nothing is "
                       "written\n";
        return kReportInterrupted;
    }
    if (result.status != ResearchStatus::Completed) {
        io.messages << "vlt-report: " << result.error << '\n';
        return kReportRefused;
    }
    const auto chart = [&] { return ResearchChart(result, "Research on " + o.file.pricesFile); };
    return WriteReportAndChart(Formatted(o, result), o.file, chart, 1200, 900, io);
}

}  // namespace

const ReportCommandEntry& ResearchCommandEntry() {
    static const ReportCommandEntry kEntry{&ResearchSpec, &RunResearchCommand};
    return kEntry;
}

}  // namespace vlt

// vlt-report eventstudy: what a market did around each exact aspect (or orb
// entry) of one planet pair.  The pair's transits come from the transit
// service over the price file's period; their days go to the event study as
// plain day numbers.  The report is made whole before any of it is printed.
#include <optional>
#include <sstream>
#include <stop_token>
#include <string>

#include "app/chart/event_study_chart.h"
#include "app/engine/transit_service.h"
#include "app/positions/pluto_tables.h"
#include "app/positions/positions.h"
#include "app/report/command_line.h"
#include "app/report/event_study_formats.h"
#include "app/report/option_values.h"
#include "app/report/price_file_options.h"
#include "app/report/report_run.h"
#include "app/simulation/price_series.h"
#include "app/support/date_processing.h"

namespace vlt {
namespace {

const CommandSpec& EventStudySpec() {
    static const CommandSpec kSpec{
        "eventstudy",
        "The mean and median return of a price file from N trading days before to\n"
        "N after each exact aspect (or orb entry) of one pair, with a bootstrap band\n"
        "of the mean.  Bad input: one line on standard error, exit 2 for the command\n"
        "line (--days 0, --trials 0), 1 for the data (fewer than 30 prices).",
        {"eventstudy --prices dji.csv --first Mars --second Jupiter --aspects con,opp",
         "eventstudy --prices btc.csv --first Earth --second Mars --helio --at entry "
         "--orb 5 --days 20 --format json"},
        {
            {"--prices", "FILE", "the daily prices (required)", nullptr},
            {"--price-column", "NAME", "the CSV column to read instead of Close",
             "--price-column \"Adj Close\""},
            {"--first", "PLANET", "the first planet (required)", "--first Mars"},
            {"--second", "PLANET", "the second planet (required)", "--second Jupiter"},
            {"--helio", nullptr, "from the Sun; default from the Earth", nullptr},
            {"--aspects", "LIST", "aspect types from con,opp,sqr,tri,sxt,ssx,qui;\ndefault all",
             "--aspects con,opp,sqr"},
            {"--at", "WHEN", "exact (the default) or entry into the orb", "--at entry"},
            {"--orb", "DEGREES", "the orb of --at entry, 3 to 15; default 10", "--orb 5"},
            {"--days", "N", "trading days each side, 1 to 250; default 10", "--days 20"},
            {"--trials", "N", "bootstrap resamples, 1 to 1000000; default 1000", nullptr},
            {"--seed", "N", "seed of the resamples; default 1", nullptr},
            {"--start", "DATE", "first day; default the file's first", "--start 1990-01-01"},
            {"--end", "DATE", "last day; default the file's last", "--end 2024-12-31"},
            {"--format", "F", "text, csv or json; default text", "--format json"},
            {"--chart", "FILE", "also draw the returns and the band (.png or .svg)",
             "--chart study.svg"},
        }};
    return kSpec;
}

struct StudyOptions {
    EventStudyRequest request;
    PriceFileOptions file;
    int first = 0;
    int second = 0;
    bool helio = false;
    std::array<bool, 7> aspects{true, true, true, true, true, true, true};
    bool entry = false;
    int orb = 10;
};

std::optional<std::string> ReadPlanet(const std::string& value, int& into, const char* name) {
    into = PlanetNumber(value);
    if (into > 0) return std::nullopt;
    return "unknown planet \"" + value + "\" for " + name + " (" + kPlanetChoices + ")";
}

std::optional<std::string> ReadAt(const std::string& value, StudyOptions& o) {
    const auto at = Choice<bool>(value, {{"exact", false}, {"entry", true}});
    if (!at) return "--at takes exact or entry, not \"" + value + "\"";
    o.entry = *at;
    return std::nullopt;
}

const OwnOptionReader<StudyOptions> kReaders[] = {
    {"--first",
     [](const std::string& v, StudyOptions& o) { return ReadPlanet(v, o.first, "--first"); }},
    {"--second",
     [](const std::string& v, StudyOptions& o) { return ReadPlanet(v, o.second, "--second"); }},
    {"--aspects",
     [](const std::string& v, StudyOptions& o) { return ReadAspectsOption(v, o.aspects); }},
    {"--at", ReadAt},
    {"--orb", [](const std::string& v,
                 StudyOptions& o) { return ReadWholeOption(v, o.orb, "--orb", 3, 15); }},
    {"--days",
     [](const std::string& v, StudyOptions& o) {
         return ReadWholeOption(v, o.request.days, "--days", 1, kEventStudyMaxDays);
     }},
    {"--trials",
     [](const std::string& v, StudyOptions& o) {
         return ReadWholeOption(v, o.request.trials, "--trials", 1, 1000000);
     }},
    {"--seed",
     [](const std::string& v, StudyOptions& o) { return ReadSeedOption(v, o.request.seed); }},
};

std::optional<std::string> ReadOptions(const CommandLine& line, StudyOptions& o) {
    if (auto problem = ReadPriceFileOptions<StudyOptions>(line, o.file, kReaders, o)) {
        return problem;
    }
    o.helio = line.Given("--helio");
    if (o.file.pricesFile.empty()) return "eventstudy needs --prices FILE";
    if (o.first == 0 || o.second == 0) return "eventstudy needs --first and --second";
    if (line.Given("--orb") && !o.entry) return "--orb goes with --at entry";
    return std::nullopt;
}

// The tables' text is not wanted: the typed results are.
class Discard final : public OutputBox {
public:
    const std::string& Text() const override { return none_; }
    void Append(const std::string& /*text*/) override { empty_ = false; }
    void Clear() override { empty_ = true; }
    void MoveCaretToEnd() override {}
    void Refresh() override {}
    bool Empty() const override { return empty_; }
    bool LongerThan(std::size_t /*characters*/) const override { return false; }

private:
    std::string none_;
    bool empty_ = true;
};

class ScanObserver final : public RunObserver {
public:
    explicit ScanObserver(std::ostream& messages) : lines_(messages) {}
    OutputBox& Output() override { return output_; }
    MessageBoxes& Messages() override { return lines_; }

private:
    Discard output_;
    MessageLines lines_;
};

CalendarDate DateOfDay(std::int32_t day) {
    DateRecord r{};
    r.calendar = kCalendarGregorian;
    r.jdn = day;
    DayNumberToDate(r);
    return CalendarDate{r.year, r.month, r.day};
}

// The event days of the pair over the period: the exact minima, or the
// entries into the outer orb.  Nothing when the scan could not finish (its
// messages are on `messages`).
std::optional<std::vector<std::int32_t>> EventDays(const StudyOptions& o, std::int32_t startDay,
                                                   std::int32_t endDay, std::ostream& messages) {
    TablesRequest r;
    r.firstPlanet = static_cast<std::int16_t>(o.first);
    r.secondPlanet = static_cast<std::int16_t>(o.second);
    r.heliocentric = o.helio;
    r.start = DateOfDay(startDay);
    r.end = DateOfDay(endDay);
    r.aspects = o.aspects;
    // Only the outer orb's entries are used; the two inner orbs just have to
    // be valid.
    r.orbDegrees = {o.orb, o.orb - 1, o.orb - 2};
    ScanObserver observer(messages);
    const TransitRunResult run = Run(r, observer, std::stop_token());
    if (run.end != TransitRunEnd::Completed) return std::nullopt;
    // A transit under way at the start is scanned from its beginning, so an
    // event may fall before the period: it is no event of the period.
    std::vector<std::int32_t> days;
    const auto keep = [&](std::int32_t day) {
        if (day >= startDay && day <= endDay) days.push_back(day);
    };
    for (const TransitTableResult& table : run.results) {
        for (const TransitLine& line : table.lines) {
            if (o.entry && line.entry[0]) keep(line.entry[0]->day);
            if (!o.entry && line.minimum && line.minimum->exact) keep(line.minimum->day);
        }
    }
    return days;
}

// The prices of the period by calendar day, 0 where the file has none (the
// study counts trading days, so no day is filled from its neighbours).
DailyValues PeriodValues(const PriceSeries& series, std::int32_t startDay, std::int32_t endDay) {
    DailyValues v;
    v.firstDay = startDay;
    v.values.assign(static_cast<std::size_t>(endDay - startDay + 1), 0.0);
    for (std::size_t i = 0; i < series.days.size(); ++i) {
        if (series.days[i] < startDay || series.days[i] > endDay) continue;
        v.values[static_cast<std::size_t>(series.days[i] - startDay)] = series.values[i];
    }
    return v;
}

// The request from the file and the transits; false with its message on
// `messages` when the file, the period or the scan will not do.
bool PrepareRequest(StudyOptions& o, std::ostream& messages) {
    PriceSeries series;
    if (!LoadPrices(o.file, series, messages)) return false;
    const std::int32_t start = o.file.start ? DayNumberOf(*o.file.start) : series.FirstDay();
    const std::int32_t end = o.file.end ? DayNumberOf(*o.file.end) : series.LastDay();
    if (start < series.FirstDay() || end > series.LastDay() || start >= end) {
        messages << "vlt-report: the period is not within the price file's dates\n";
        return false;
    }
    o.request.prices = PeriodValues(series, start, end);
    if (auto problem = EventStudyRequestProblem(o.request)) {
        messages << "vlt-report: " << *problem << '\n';
        return false;
    }
    InitPositions();
    MessageLines lines(messages);
    ReadPlutoData(lines);
    auto days = EventDays(o, start, end, messages);
    if (!days) return false;
    o.request.eventDays = std::move(*days);
    return true;
}

std::string PairText(const StudyOptions& o) {
    return PlanetName(static_cast<std::int16_t>(o.first), o.helio, false) + " and " +
           PlanetName(static_cast<std::int16_t>(o.second), o.helio, false);
}

std::string Formatted(const StudyOptions& o, const EventStudyResult& result) {
    std::string aspects;
    for (std::size_t a = 0; a < o.aspects.size(); ++a) {
        if (!o.aspects[a]) continue;
        if (!aspects.empty()) aspects.push_back(',');
        aspects.append(AspectOptionNames()[a]);
    }
    const EventStudyReport report{o.file.pricesFile,         PairText(o) + " (" + aspects + ")",
                                  o.helio ? "helio" : "geo", o.entry ? "entry" : "exact",
                                  o.entry ? o.orb : 0,       &result};
    switch (o.file.format) {
        case TableFormat::Csv: return EventStudyCsv(report);
        case TableFormat::Json: return EventStudyJson(report);
        case TableFormat::Text: break;
    }
    return EventStudyText(report);
}

int RunEventStudyCommand(const CommandLine& line, CommandIo& io) {
    StudyOptions o;
    if (auto problem = ReadOptions(line, o)) return RefusedOptions(*problem, io);
    if (!PrepareRequest(o, io.messages)) return kReportRefused;
    const EventStudyResult result = ComputeEventStudy(o.request);
    const auto chart = [&] {
        return EventStudyChart(result, "Event study on " + o.file.pricesFile);
    };
    return WriteReportAndChart(Formatted(o, result), o.file, chart, 1200, 700, io);
}

}  // namespace

const ReportCommandEntry& EventStudyCommandEntry() {
    static const ReportCommandEntry kEntry{&EventStudySpec, &RunEventStudyCommand};
    return kEntry;
}

}  // namespace vlt

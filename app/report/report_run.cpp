#include "app/report/report_run.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <thread>

#include "app/chart/chart_band.h"
#include "app/chart/chart_model.h"
#include "app/engine/report_lines.h"
#include "app/engine/transit_service.h"
#include "app/positions/pluto_tables.h"
#include "app/positions/positions.h"
#include "app/positions/request_rules.h"
#include "app/positions/timezone_list.h"
#include "app/report/chart_output.h"
#include "app/report/event_backtest_run.h"
#include "app/report/report_formats.h"
#include "app/report/stats_progress.h"
#include "app/report/streamed_output.h"
#include "app/simulation/family_statistics.h"
#include "app/simulation/index_data.h"
#include "app/simulation/price_series.h"
#include "app/simulation/simulation_service.h"
#include "app/support/calendar.h"
#include "app/support/escaped_text.h"

namespace vlt {
namespace {

// The report's messages: each text on a line of its own, answered with the
// button a window's box has as its default (so "Stop?" ends the run).
class MessageLines final : public MessageBoxes {
public:
    explicit MessageLines(std::ostream& out) : out_(&out) {}
    void Redirect(std::ostream& out) { out_ = &out; }

    MsgResult Show(const std::string& text, const std::string& /*title*/, MsgButtons buttons,
                   MsgIcon /*icon*/) override {
        *out_ << text << '\n';
        out_->flush();
        switch (buttons) {
            case MsgButtons::Ok: return MsgResult::Ok;
            case MsgButtons::YesNo: return MsgResult::Yes;
            case MsgButtons::YesNoCancel: return MsgResult::No;
        }
        return MsgResult::Ok;
    }

private:
    std::ostream* out_;
};

// The window's output box: it keeps the whole text, and the commands' size
// limit applies to it.
class KeptBox final : public OutputBox {
public:
    const std::string& Text() const override { return text_; }
    void Append(const std::string& text) override { text_ += text; }
    void Clear() override { text_.clear(); }
    void MoveCaretToEnd() override {}
    void Refresh() override {}

private:
    std::string text_;
};

class ReportObserver final : public RunObserver {
public:
    ReportObserver(OutputBox& output, MessageBoxes& messages)
        : output_(output), messages_(messages) {}
    OutputBox& Output() override { return output_; }
    MessageBoxes& Messages() override { return messages_; }

private:
    OutputBox& output_;
    MessageBoxes& messages_;
};

int CurrentYear() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}

// The computer's zone in the list, or 0 (none chosen) when the list has no
// entry for it, as at the window's first start.
int LocalTimezoneIndex() {
    const int index = TimezoneIndexOfMinutes(MinutesEastOfGmt(GetTimezone()));
    return index >= 1 && index <= kTimezoneCount - 1 ? index : 0;
}

CalendarDate DateOf(const std::optional<ReportDate>& given, int month, int day) {
    if (given) return CalendarDate{given->year, given->month, given->day};
    return CalendarDate{CurrentYear(), month, day};
}

// Planet-list positions of the first start: Mars and Jupiter.
constexpr int kDefaultListIndex = 3;

int FirstIndexOf(const ReportOptions& o) { return o.firstPlanetIndex.value_or(kDefaultListIndex); }
int SecondIndexOf(const ReportOptions& o) {
    return o.secondPlanetIndex.value_or(kDefaultListIndex);
}

// A simulation is heliocentric, as the window's always is, unless the first
// planet is named the Sun without --helio: every simulate line that named the
// Earth, another planet or no planet runs as it always has.
bool Heliocentric(const ReportOptions& o) {
    if (o.command != ReportCommand::Simulate) return o.heliocentric;
    return o.heliocentric || !o.firstNamedSun;
}

void FillBasics(const ReportOptions& o, TransitBasics& r) {
    r.firstPlanet = FirstPlanetOfListIndex(FirstIndexOf(o));
    r.secondPlanet = SecondPlanetOfListIndex(SecondIndexOf(o));
    r.heliocentric = Heliocentric(o);
    r.start = DateOf(o.start, 1, 1);
    r.end = DateOf(o.end, 12, 31);
    r.timezoneIndex = o.timezoneIndex.value_or(LocalTimezoneIndex());
    r.timezoneLabel = TimezoneEntryTexts(o.northAmericanLabels)[static_cast<std::size_t>(
        std::clamp(r.timezoneIndex, 0, kTimezoneCount - 1))];
}

void FillTables(const ReportOptions& o, TablesRequest& r) {
    FillBasics(o, r);
    if (o.aspects) r.aspects = *o.aspects;
    if (o.orbs) r.orbDegrees = *o.orbs;
}

}  // namespace

TablesRequest TablesRequestOf(const ReportOptions& o) {
    TablesRequest r;
    FillTables(o, r);
    return r;
}

SearchRequest SearchRequestOf(const ReportOptions& o) {
    SearchRequest r;
    FillBasics(o, r);
    r.aspect = o.searchAspect.value_or(kConjunction);
    r.orbDegrees = o.searchOrb.value_or(6);
    r.fromEnd = o.searchFrom.value_or(0) == 1;
    return r;
}

ShowAllRequest ShowAllRequestOf(const ReportOptions& o) {
    ShowAllRequest r;
    FillTables(o, r);
    r.keepFirst = o.showAllItem != 0;
    r.withMoon = o.showAllWithMoon;
    return r;
}

SimulationRequest SimulationRequestOf(const ReportOptions& o) {
    TablesRequest basics = TablesRequestOf(o);
    SimulationRequest r;
    r.firstPlanetIndex = FirstIndexOf(o);
    r.secondPlanetIndex = SecondIndexOf(o);
    r.aspectChecked = basics.aspects;
    for (std::size_t k = 0; k < 3; ++k) r.orbIndex[k] = OrbListIndexOfDegrees(basics.orbDegrees[k]);
    r.startDay = DayNumberOfDate(basics.start).value_or(0);
    r.endDay = DayNumberOfDate(basics.end).value_or(0);
    r.heliocentric = basics.heliocentric;
    r.includeDetails = o.includeTransitDetails;
    TitleInputs title;
    title.heliocentric = basics.heliocentric;
    title.firstPlanetName = r.firstPlanetIndex < 0
                                ? std::string()
                                : PlanetListText(basics.firstPlanet, basics.heliocentric);
    title.secondPlanetName = PlanetListText(basics.secondPlanet, basics.heliocentric);
    title.startDay = r.startDay;
    title.endDay = r.endDay;
    r.reportTitle = ReportTitle(title);
    return r;
}

std::string WithLfLineEnds(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out.push_back(text[i]);
    }
    return out;
}

namespace {

// A transit run's report is whole when the scan went through and met
// nothing on the way: no refusal, no data file that failed, no full box, no
// "Not found", no pair of a show-all series refused.
RunOutcome OutcomeOf(const TransitRunResult& r) {
    switch (r.end) {
        case TransitRunEnd::Completed:
        case TransitRunEnd::SeriesEnded: return RunOutcome::Done;
        case TransitRunEnd::Refused:
        case TransitRunEnd::NotFound:
        case TransitRunEnd::Stopped:
        case TransitRunEnd::DataFailed:
        case TransitRunEnd::PairRefused:
        case TransitRunEnd::BoxFull: return RunOutcome::Refused;
    }
    return RunOutcome::Refused;
}

// A simulation's report is whole when it ran to its summary.
RunOutcome OutcomeOf(const SimulationRunResult& r) {
    return r.outcome == SimulationOutcome::Completed && r.messages == 0 ? RunOutcome::Done
                                                                        : RunOutcome::Refused;
}

// What a run leaves for the writing: how it ended and, for a transit run,
// the period as entered.
struct RunEnd {
    RunOutcome outcome = RunOutcome::Refused;
    std::int32_t enteredStart = 0;
    std::int32_t enteredEnd = 0;
    TransitResults results;
};

// One report: the start-up the window would make (positions, index data,
// Pluto tables, each with its messages), the request built from the options,
// its service run, then the report, its records or its chart written out.
class ReportRun {
public:
    ReportRun(const ReportOptions& options, const PriceSeries& prices, std::ostream& out,
              std::ostream& messages, bool showProgress)
        : options_(options),
          showProgress_(showProgress),
          out_(out),
          messagesOut_(messages),
          prices_(prices),
          priceLookup_(prices),
          indexLookup_(index_),
          messages_(messages),
          amounts_(UserLocaleAmountFormatter()),
          positions_(Heliocentric(options)),
          simulation_(positions_,
                      options.pricesFile ? static_cast<IndexLookup&>(priceLookup_)
                                         : static_cast<IndexLookup&>(indexLookup_),
                      amounts_),
          text_(options.format == ReportFormat::Text && !options.chart),
          stream_(text_ ? out : captured_, text_ && options.crlf) {}

    int Run() {
        StartUp();
        const RunEnd end = RunCommand();
        commandOutcome_ = end.outcome;
        enteredStart_ = end.enteredStart;
        enteredEnd_ = end.enteredEnd;
        results_ = end.results;
        const InvestmentSimulation& simulation = simulation_.Simulation();
        simulated_ = options_.command == ReportCommand::Simulate &&
                     simulation.LastOutcome() == SimulationOutcome::Completed;
        if (options_.stats && simulated_) {
            statistics_ = Statistics();
            if (statistics_->cancelled) return Interrupted();
        }
        if (options_.chart) return WriteChart();
        return WriteReport();
    }

private:
    // With a price file the index file plays no part in the run, so its
    // start-up message is left out; every other message goes on.
    void StartUp() {
        InitPositions();
        // Only a command that values days with the index reads it (a
        // simulation, or a chart's price line, without a price file): the
        // others say nothing of it.  The working folder's file, named by its
        // full path in a message.
        bool indexRead = true;
        if (NeedsIndex()) {
            std::error_code error;
            const std::string working = std::filesystem::current_path(error).string();
            indexRead = LoadIndexData(index_, messages_, IndexFilePath(working, ""));
        }
        const bool plutoRead = ReadPlutoData(messages_);
        // Left out or not, each counts: a run that then writes nothing is
        // refused.
        startUpWhole_ = indexRead && plutoRead;
    }

    bool NeedsIndex() const {
        return !options_.pricesFile &&
               (options_.command == ReportCommand::Simulate || options_.chart);
    }

    OutputBox& Output() {
        if (options_.box) return box_;
        return stream_;
    }

    RunEnd RunCommand() {
        ReportObserver observer(Output(), messages_);
        const std::stop_token never;
        RunEnd end;
        if (options_.command == ReportCommand::Simulate) {
            end.outcome =
                OutcomeOf(simulation_.Run(SimulationRequestOf(options_), observer, never));
            return end;
        }
        TransitRunResult result;
        switch (options_.command) {
            case ReportCommand::Search:
                result = vlt::Run(SearchRequestOf(options_), observer, never);
                break;
            case ReportCommand::ShowAll:
                result = vlt::Run(ShowAllRequestOf(options_), observer, never);
                break;
            default: result = vlt::Run(TablesRequestOf(options_), observer, never); break;
        }
        // A computer whose zone is not in the window's list starts with no
        // zone chosen; the refusal then asks for one, and the report says
        // how to give it.
        if (!options_.timezoneIndex && LocalTimezoneIndex() == 0 &&
            result.end == TransitRunEnd::Refused) {
            messagesOut_ << "vlt-report: the computer's time zone is not in the list; give one "
                            "with --tz (for example --tz GMT or --tz GMT+5:30)\n";
        }
        end.outcome = OutcomeOf(result);
        end.enteredStart = result.enteredStart;
        end.enteredEnd = result.enteredEnd;
        end.results = std::move(result.results);
        return end;
    }

    FamilyResult Statistics() {
        const InvestmentSimulation& simulation = simulation_.Simulation();
        IndexLookup& values = options_.pricesFile ? static_cast<IndexLookup&>(priceLookup_)
                                                  : static_cast<IndexLookup&>(indexLookup_);
        FamilyRequest request = SimulationFamilyRequest(simulation, values);
        request.trials = options_.trials;
        request.seed = options_.seed;
        request.minTrades = options_.minTrades;
        request.jobs = options_.jobs > 0
                           ? options_.jobs
                           : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
        // Ctrl-C stops the trials; the progress line is wiped before any
        // other message.
        const InterruptGuard interrupts;
        std::optional<ProgressLine> line;
        if (showProgress_) line.emplace(messagesOut_, "Statistics");
        request.progress = [&line](int done, int total) {
            if (line && total > 0) line->Show(static_cast<double>(done) / total);
            return !InterruptGuard::Interrupted();
        };
        return ComputeFamilyStatistics(request);
    }

    // Stopped by Ctrl-C during the statistics: what the commands streamed
    // (a whole text report) ends as it is; no statistics, records or chart
    // are written, so nothing half-made reaches the output.
    int Interrupted() {
        if (text_ && !options_.box) stream_.Finish();
        out_.flush();
        messagesOut_ << "vlt-report: interrupted; the statistics were not finished and are not "
                        "written\n";
        return ExitStatusOf(RunOutcome::Interrupted);
    }

    // The statistics follow the text report below a blank line.
    std::string StatisticsLines() const {
        std::string lines;
        if (!statistics_ || !text_) return lines;
        lines = kLineBreak;
        for (char c : FamilyStatisticsText(*statistics_)) {
            if (c == '\n') lines += '\r';
            lines += c;
        }
        return lines;
    }

    // The report's records as CSV or JSON.
    std::string Records() const {
        if (options_.command != ReportCommand::Simulate) {
            const std::vector<TransitRecord> rows = TransitRecords(results_);
            return options_.format == ReportFormat::Csv ? TransitCsv(rows)
                                                        : TransitJson(options_.command, rows);
        }
        SimulationReport sim;
        sim.title = simulation_.Simulation().Title();
        sim.prices = options_.pricesFile ? *options_.pricesFile : std::string(kIndexFileName);
        sim.completed = simulated_;
        sim.simulation = &simulation_.Simulation();
        sim.statistics = statistics_ ? &*statistics_ : nullptr;
        return options_.format == ReportFormat::Csv ? SimulationCsv(sim) : SimulationJson(sim);
    }

    // The run's report as the commands left it, LF line ends.
    std::string FinishedReport() {
        if (options_.box) return WithLfLineEnds(box_.Text());
        stream_.Finish();
        return captured_.str();
    }

    bool Refused(bool empty) const {
        return commandOutcome_ != RunOutcome::Done || (!startUpWhole_ && empty);
    }

    int WriteChart() {
        const std::string report = FinishedReport();
        if (Refused(report.empty())) return ExitStatusOf(RunOutcome::Refused);
        ChartModel model;
        if (options_.command == ReportCommand::Simulate) {
            const InvestmentSimulation& simulation = simulation_.Simulation();
            model = SimulationChart(simulation.Events(), simulation.StartDay(), simulation.EndDay(),
                                    simulation.Title());
        } else {
            model = TransitChartOfResults(results_, enteredStart_, enteredEnd_);
        }
        // Any chart's price line comes from the price file when one is given.
        model.priceName = options_.pricesFile ? *options_.pricesFile : std::string("DJIA");
        model.prices = options_.pricesFile ? SeriesPrices(prices_, model.firstDay, model.lastDay)
                                           : IndexPrices(index_, model.firstDay, model.lastDay);
        // A simulation is measured against buy and hold and random timing
        // by the prices it read.
        if (options_.command == ReportCommand::Simulate) {
            IndexLookup& values = options_.pricesFile ? static_cast<IndexLookup&>(priceLookup_)
                                                      : static_cast<IndexLookup&>(indexLookup_);
            AddSimulationComparisons(model, simulation_.Simulation().Events(), values);
        }
        if (!WriteChartImage(model, options_.chartFile, options_.chartWidth, options_.chartHeight,
                             messagesOut_)) {
            return ExitStatusOf(RunOutcome::Refused);
        }
        return ExitStatusOf(RunOutcome::Done);
    }

    int WriteReport() {
        const std::string statisticsText = StatisticsLines();
        bool empty = true;
        if (options_.box) {
            const std::string& box = box_.Text();
            empty = box.empty();
            if (text_) {
                out_ << (options_.crlf ? box + statisticsText
                                       : WithLfLineEnds(box + statisticsText));
            } else if (!empty) {
                out_ << Records();
            }
        } else {
            empty = stream_.Empty();
            stream_.Append(statisticsText);
            stream_.Finish();
            // Nothing to record when the command was refused before its
            // report began.
            if (!text_ && !empty) out_ << Records();
        }
        out_.flush();
        return ExitStatusOf(Refused(empty) ? RunOutcome::Refused : RunOutcome::Done);
    }

    const ReportOptions& options_;
    const bool showProgress_;
    std::ostream& out_;
    std::ostream& messagesOut_;
    const PriceSeries& prices_;
    PriceSeriesLookup priceLookup_;
    IndexData index_;
    IndexDataLookup indexLookup_;
    MessageLines messages_;
    SeparatorAmountFormatter amounts_;
    CentredEphemerisPositions positions_;
    SimulationService simulation_;
    const bool text_;
    std::ostringstream captured_;
    StreamedOutput stream_;
    KeptBox box_;

    bool startUpWhole_ = true;
    RunOutcome commandOutcome_ = RunOutcome::Refused;
    std::int32_t enteredStart_ = 0;
    std::int32_t enteredEnd_ = 0;
    TransitResults results_;
    bool simulated_ = false;
    std::optional<FamilyResult> statistics_;
};

// A handful of prices cannot say whether a timing beats chance: the
// statistics refuse a price file with fewer than kStatisticsMinPrices prices
// in the period (or in the whole file when the period is the window's own),
// before any report is written.
std::optional<std::string> StatisticsInputProblem(const ReportOptions& options,
                                                  const PriceSeries& prices) {
    if (!options.stats || !options.pricesFile) return std::nullopt;
    const auto dayOf = [](const ReportDate& d) {
        return GregorianDayNumber(d.year, d.month, d.day);
    };
    const std::int32_t first = options.start ? dayOf(*options.start) : prices.FirstDay();
    const std::int32_t last = options.end ? dayOf(*options.end) : prices.LastDay();
    int count = 0;
    for (std::size_t i = 0; i < prices.days.size(); ++i) {
        if (prices.days[i] >= first && prices.days[i] <= last && prices.values[i] > 0.0) ++count;
    }
    if (count >= kStatisticsMinPrices) return std::nullopt;
    return "price file \"" + EscapedForOneLine(prices.name) + "\" holds " + std::to_string(count) +
           " prices in the period; --stats needs at least " + std::to_string(kStatisticsMinPrices);
}

// simulate --open: the backtest on dated events, with the simulation's
// options.
int RunEventSimulation(const ReportOptions& options, std::ostream& out, std::ostream& messages,
                       bool showProgress) {
    EventBacktestOptions e;
    e.opens = options.openEvents;
    e.closes = options.closeEvents;
    e.holdDays = options.holdDays;
    e.pricesFile = options.pricesFile;
    e.priceColumn = options.priceColumn;
    e.start = options.start;
    e.end = options.end;
    e.statistics = options.stats;
    e.listTrades = true;
    e.trials = options.trials;
    e.seed = options.seed;
    e.minTrades = options.minTrades;
    e.jobs = options.jobs > 0 ? options.jobs
                              : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    e.format = options.format == ReportFormat::Csv    ? EventBacktestFormat::Csv
               : options.format == ReportFormat::Json ? EventBacktestFormat::Json
                                                      : EventBacktestFormat::Text;
    CommandIo io{out, messages, showProgress};
    return RunEventBacktest(e, io);
}

}  // namespace

int RunReport(const ReportOptions& options, std::ostream& out, std::ostream& messages,
              bool showProgress) {
    if (!options.openEvents.empty())
        return RunEventSimulation(options, out, messages, showProgress);
    // A price file is read whole before anything else, so that bad input
    // stops the run with one line and no report.
    PriceSeries prices;
    if (options.pricesFile) {
        std::string error;
        if (!LoadPriceSeries(*options.pricesFile, options.priceColumn, prices, error)) {
            messages << "vlt-report: " << error << '\n';
            return ExitStatusOf(RunOutcome::Refused);
        }
    }
    if (const auto problem = StatisticsInputProblem(options, prices)) {
        messages << "vlt-report: " << *problem << '\n';
        return ExitStatusOf(RunOutcome::Refused);
    }
    ReportRun run(options, prices, out, messages, showProgress);
    return run.Run();
}

}  // namespace vlt

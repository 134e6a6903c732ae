#include "app/report/report_run.h"

#include <memory>
#include <optional>
#include <sstream>

#include "app/chart/chart_model.h"
#include "app/positions/request_rules.h"
#include "app/report/chart_output.h"
#include "app/report/headless_ui.h"
#include "app/report/report_formats.h"
#include "app/report/streamed_output.h"
#include "app/simulation/investment_simulation.h"
#include "app/simulation/price_series.h"
#include "app/simulation/simulation_record.h"
#include "app/simulation/simulation_stats.h"
#include "app/support/settings_store.h"
#include "app/window/control_names.h"
#include "app/window/main_window.h"
#include "app/window/program_commands.h"
#include "app/window/program_services.h"

namespace vlt {
namespace {

// While a report runs the settings store keeps nothing: start-up finds
// nothing saved, as at a first start, and nothing could be written even if a
// command tried.  The user's own saved state is never touched.
class NoSettingsStore {
public:
    NoSettingsStore() { UseNoSettingsStore(true); }
    ~NoSettingsStore() { UseNoSettingsStore(false); }
    NoSettingsStore(const NoSettingsStore&) = delete;
    NoSettingsStore& operator=(const NoSettingsStore&) = delete;
};

// Sets the window's controls as a user would.  The order keeps the window's
// rules quiet on the way: the planet pair before the commands' inputs, the
// aspect types checked before others are cleared (never none checked), the
// orbs moved so that they stay strictly decreasing after each choice.
class InputSetter {
public:
    InputSetter(HeadlessUi& ui, MainWindow& window) : ui_(ui), window_(window) {}

    void Apply(const ReportOptions& o) {
        if (o.northAmericanLabels) Check(Ctl(ctl::chkDisplayNATZabbr), 1);
        const bool helio = o.heliocentric || o.command == ReportCommand::Simulate;
        if (helio) Do(ui_.Click(ctl::optHeliocentric), ctl::optHeliocentric.text);
        if (o.firstPlanetIndex) {
            if (*o.firstPlanetIndex < 0) {
                // Pluto as first planet: no entry of the first list selected,
                // as the window's show-all series leaves it.
                window_.SelectPlanet(0, -1);
            } else {
                Choose(Ctl(ctl::cboPlanet, 0), *o.firstPlanetIndex);
            }
        }
        if (o.secondPlanetIndex) Choose(Ctl(ctl::cboPlanet, 1), *o.secondPlanetIndex);
        if (o.aspects) {
            for (int pass = 1; pass >= 0; --pass) {
                for (int b = 0; b < 7; ++b) {
                    const int want = (*o.aspects)[static_cast<std::size_t>(b)] ? 1 : 0;
                    if (want == pass) Check(Ctl(ctl::chkAspectType, b), want);
                }
            }
        }
        if (o.orbs) SetOrbs(*o.orbs);
        if (o.start) SetDate(0, *o.start);
        if (o.end) SetDate(1, *o.end);
        if (o.timezoneIndex) Choose(Ctl(ctl::cboTimezone, 0), *o.timezoneIndex);
        if (o.searchAspect) Choose(ctl::cboSearchAspect, *o.searchAspect - 1);
        if (o.searchOrb) Choose(Ctl(ctl::cboOrbs, 3), SearchOrbListIndexOfDegrees(*o.searchOrb));
        if (o.searchFrom) Choose(ctl::cboSearchWhen, *o.searchFrom);
        if (o.includeTransitDetails) Check(Ctl(ctl::chkIncludeTransitDetails), 1);
    }

    bool Ok() const { return failed_.empty(); }
    const std::string& Failed() const { return failed_; }

private:
    void Do(bool done, const std::string& what) {
        if (!done && failed_.empty()) failed_ = what;
    }
    void Choose(const Ctl& c, int index) { Do(ui_.Choose(c, index), c.ToString()); }
    void Check(const Ctl& c, int value) { Do(ui_.SetChecked(c, value), c.ToString()); }

    // Orbs that go down move first, innermost first; then those that go up,
    // outermost first.  Each choice then leaves outer > middle > inner.
    void SetOrbs(const std::array<int, 3>& degrees) {
        for (int k = 2; k >= 0; --k) {
            const int index = OrbListIndexOfDegrees(degrees[static_cast<std::size_t>(k)]);
            if (index < ui_.ListIndex(Ctl(ctl::cboOrbs, k))) Choose(Ctl(ctl::cboOrbs, k), index);
        }
        for (int k = 0; k < 3; ++k) {
            const int index = OrbListIndexOfDegrees(degrees[static_cast<std::size_t>(k)]);
            if (index > ui_.ListIndex(Ctl(ctl::cboOrbs, k))) Choose(Ctl(ctl::cboOrbs, k), index);
        }
    }

    void SetDate(int date, const ReportDate& d) {
        const std::pair<ControlName, int> fields[3] = {
            {ctl::txbYear, d.year}, {ctl::txbMonth, d.month}, {ctl::txbDay, d.day}};
        for (const auto& [name, number] : fields) {
            const Ctl box(name, date);
            Do(ui_.Type(box, std::to_string(number)) && ui_.Leave(box), box.ToString());
        }
    }

    HeadlessUi& ui_;
    MainWindow& window_;
    std::string failed_;
};

Ctl CommandButton(const ReportOptions& o) {
    switch (o.command) {
        case ReportCommand::Tables: return Ctl(ctl::cmdStart);
        case ReportCommand::Search: return Ctl(ctl::cmdSearch);
        case ReportCommand::ShowAll: return Ctl(ctl::cmdShowAll, o.showAllItem);
        case ReportCommand::Simulate: return Ctl(ctl::cmdSimulateInvestment);
    }
    return Ctl(ctl::cmdStart);
}

void WriteText(const ReportOptions& options, const std::string& box, std::ostream& out) {
    if (options.crlf) {
        out << box;
    } else {
        out << WithLfLineEnds(box);
    }
}

// The report's records as CSV or JSON.
std::string Records(const ReportOptions& options, const ProgramCommands& commands, bool completed,
                    const RunStatistics* statistics) {
    const InvestmentSimulation& simulation = commands.Simulation();
    if (options.command != ReportCommand::Simulate) {
        const std::vector<TransitRecord> rows = TransitRecords(commands.TransitFindings());
        return options.format == ReportFormat::Csv ? TransitCsv(rows)
                                                   : TransitJson(options.command, rows);
    }
    SimulationReport sim;
    sim.title = simulation.Title();
    sim.prices = options.pricesFile ? *options.pricesFile : std::string(kIndexFileName);
    sim.completed = completed;
    sim.simulation = &simulation;
    sim.statistics = statistics;
    return options.format == ReportFormat::Csv ? SimulationCsv(sim) : SimulationJson(sim);
}

}  // namespace

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

// One run of a command: the window and its services as at a first start,
// then the stages in turn (start up, set the inputs, click, write).
class ReportRun {
public:
    ReportRun(const ReportOptions& options, const PriceSeries& prices, std::ostream& out,
              std::ostream& messages)
        : options_(options),
          out_(out),
          messages_(messages),
          prices_(prices),
          priceLookup_(prices),
          messageSink_(options.pricesFile ? startUpMessages_.rdbuf() : messages.rdbuf()),
          ui_(messageSink_),
          window_(ui_, services_),
          commands_(
              options.pricesFile
                  ? std::make_unique<ProgramCommands>(window_, services_.Index(), priceLookup_)
                  : std::make_unique<ProgramCommands>(window_, services_.Index())),
          text_(options.format == ReportFormat::Text && !options.chart),
          stream_(text_ ? out : captured_, text_ && options.crlf) {
        window_.SetCommandHandlers(commands_.get());
        ui_.Attach(&window_);
        // Without --box the commands write past the window's box: a text
        // report straight out, records into a text that is turned into them
        // at the end.  A chart keeps the report to itself and draws from it
        // at the end.
        if (!options.box) window_.SetCommandOutput(&stream_);
    }

    int Run() {
        StartUp();
        if (!ApplyInputs() || !ClickCommand()) return kReportRefused;
        const InvestmentSimulation& simulation = commands_->Simulation();
        simulated_ = options_.command == ReportCommand::Simulate &&
                     simulation.LastOutcome() == SimulationOutcome::Completed;
        if (options_.stats && simulated_) statistics_ = Statistics();
        if (options_.chart) return WriteChart();
        return WriteReport();
    }

private:
    // With a price file the index file plays no part in the run, so its
    // start-up message is left out; every other message goes on.
    void StartUp() {
        window_.StartUp();
        window_.LoadPlutoTables();
        if (options_.pricesFile) {
            std::istringstream lines(startUpMessages_.str());
            for (std::string line; std::getline(lines, line);) {
                if (line != "Error reading DJIA data file") messages_ << line << '\n';
            }
            messageSink_.rdbuf(messages_.rdbuf());
        }
        startUpBoxes_ = ui_.BoxesShown();
    }

    bool ApplyInputs() {
        InputSetter inputs(ui_, window_);
        inputs.Apply(options_);
        if (!inputs.Ok()) {
            messages_ << "vlt-report: the window did not take the input for " << inputs.Failed()
                      << '\n';
        }
        return inputs.Ok();
    }

    bool ClickCommand() {
        // A computer whose zone is not in the window's list starts with no
        // zone chosen; the window's message then asks for one, and the
        // report says how to give it.
        const bool noZone = !options_.timezoneIndex &&
                            options_.command != ReportCommand::Simulate &&
                            ui_.ListIndex(Ctl(ctl::cboTimezone, 0)) <= 0;
        const int boxesBeforeClick = ui_.BoxesShown();
        const Ctl button = CommandButton(options_);
        if (!ui_.Click(button)) {
            messages_ << "vlt-report: the button " << button.ToString() << " is not available\n";
            return false;
        }
        commandBoxes_ = ui_.BoxesShown() > startUpBoxes_;
        if (noZone && ui_.BoxesShown() > boxesBeforeClick) {
            messages_ << "vlt-report: the computer's time zone is not in the list; give one with "
                         "--tz (for example --tz GMT or --tz GMT+5:30)\n";
        }
        return true;
    }

    RunStatistics Statistics() {
        const InvestmentSimulation& simulation = commands_->Simulation();
        IndexDataLookup indexLookup(services_.Index());
        IndexLookup& values = options_.pricesFile ? static_cast<IndexLookup&>(priceLookup_)
                                                  : static_cast<IndexLookup&>(indexLookup);
        std::vector<std::pair<int, int>> pairs;
        for (const SimulationRecord& r : simulation.Records()) {
            pairs.emplace_back(RecordAspect(r), RecordOrb(r));
        }
        return ComputeRunStatistics(pairs, simulation.Events(), values, simulation.StartDay(),
                                    simulation.EndDay(), options_.trials, options_.seed);
    }

    // The statistics follow the text report below a blank line.
    std::string StatisticsLines() const {
        std::string lines;
        if (!statistics_ || !text_) return lines;
        const InvestmentSimulation& simulation = commands_->Simulation();
        lines = kLineBreak;
        for (char c :
             StatisticsText(*statistics_, simulation.FirstPlanet(), simulation.SecondPlanet())) {
            if (c == '\n') lines += '\r';
            lines += c;
        }
        return lines;
    }

    // The run's report as the commands left it, LF line ends.
    std::string FinishedReport() {
        if (options_.box) return WithLfLineEnds(ui_.Text(ctl::txbOutput));
        stream_.Finish();
        return captured_.str();
    }

    bool Refused(bool empty) const { return commandBoxes_ || (startUpBoxes_ > 0 && empty); }

    int WriteChart() {
        const std::string report = FinishedReport();
        if (Refused(report.empty())) return kReportRefused;
        ChartModel model;
        if (options_.command == ReportCommand::Simulate) {
            const InvestmentSimulation& simulation = commands_->Simulation();
            model = SimulationChart(simulation.Events(), simulation.StartDay(), simulation.EndDay(),
                                    simulation.Title());
            model.priceName = options_.pricesFile ? *options_.pricesFile : std::string("DJIA");
            model.prices = options_.pricesFile
                               ? SeriesPrices(prices_, model.firstDay, model.lastDay)
                               : IndexPrices(services_.Index(), model.firstDay, model.lastDay);
        } else {
            model = TransitChartOfResults(commands_->TransitFindings(), window_.DayNumber(0),
                                          window_.DayNumber(1));
            model.priceName = "DJIA";
            model.prices = IndexPrices(services_.Index(), model.firstDay, model.lastDay);
        }
        if (!WriteChartImage(model, options_.chartFile, options_.chartWidth, options_.chartHeight,
                             messages_)) {
            return kReportRefused;
        }
        return kReportDone;
    }

    int WriteReport() {
        const std::string statisticsText = StatisticsLines();
        const RunStatistics* statistics = statistics_ ? &*statistics_ : nullptr;
        bool empty = true;
        if (options_.box) {
            const std::string box = ui_.Text(ctl::txbOutput);
            empty = box.empty();
            if (text_) {
                WriteText(options_, box + statisticsText, out_);
            } else if (!empty) {
                out_ << Records(options_, *commands_, simulated_, statistics);
            }
        } else {
            empty = stream_.Empty();
            stream_.Append(statisticsText);
            stream_.Finish();
            // Nothing to record when the command was refused before its
            // report began.
            if (!text_ && !empty) {
                out_ << Records(options_, *commands_, simulated_, statistics);
            }
        }
        out_.flush();
        return Refused(empty) ? kReportRefused : kReportDone;
    }

    const ReportOptions& options_;
    std::ostream& out_;
    std::ostream& messages_;
    const PriceSeries& prices_;
    PriceSeriesLookup priceLookup_;
    const NoSettingsStore noSettings_;
    ProgramServices services_;
    std::ostringstream startUpMessages_;
    std::ostream messageSink_;
    HeadlessUi ui_;
    MainWindow window_;
    std::unique_ptr<ProgramCommands> commands_;
    const bool text_;
    std::ostringstream captured_;
    StreamedOutput stream_;

    int startUpBoxes_ = 0;
    bool commandBoxes_ = false;
    bool simulated_ = false;
    std::optional<RunStatistics> statistics_;
};

}  // namespace

int RunReport(const ReportOptions& options, std::ostream& out, std::ostream& messages) {
    // A price file is read whole before anything else, so that bad input
    // stops the run with one line and no report.
    PriceSeries prices;
    if (options.pricesFile) {
        std::string error;
        if (!LoadPriceSeries(*options.pricesFile, options.priceColumn, prices, error)) {
            messages << "vlt-report: " << error << '\n';
            return kReportRefused;
        }
    }
    ReportRun run(options, prices, out, messages);
    return run.Run();
}

}  // namespace vlt

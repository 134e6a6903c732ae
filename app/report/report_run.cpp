#include "app/report/report_run.h"

#include <memory>
#include <optional>
#include <sstream>

#include "app/chart/chart_model.h"
#include "app/report/chart_output.h"
#include "app/report/headless_ui.h"
#include "app/report/report_formats.h"
#include "app/positions/request_rules.h"
#include "app/report/streamed_output.h"
#include "app/simulation/investment_simulation.h"
#include "app/simulation/price_series.h"
#include "app/simulation/simulation_record.h"
#include "app/simulation/simulation_stats.h"
#include "app/support/settings_store.h"
#include "app/window/main_window.h"
#include "app/window/program_commands.h"
#include "app/window/program_services.h"
#include "app/window/control_names.h"

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
std::string Records(const ReportOptions& options, const std::string& report,
                    const InvestmentSimulation& simulation, bool completed,
                    const RunStatistics* statistics) {
    if (options.command != ReportCommand::Simulate) {
        const std::vector<TransitRecord> rows = TransitRecords(report);
        return options.format == ReportFormat::Csv ? TransitCsv(rows)
                                                   : TransitJson(options.command, rows);
    }
    SimulationReport sim;
    const std::size_t start = report.find_first_not_of('\n');
    if (start != std::string::npos) {
        sim.title = report.substr(start, report.find('\n', start) - start);
    }
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
    PriceSeriesLookup priceLookup(prices);

    const NoSettingsStore noSettings;
    ProgramServices services;
    // With a price file the index file plays no part in the run, so its
    // start-up message is left out; every other message goes on.
    std::ostringstream startUpMessages;
    std::ostream messageSink(options.pricesFile ? startUpMessages.rdbuf() : messages.rdbuf());
    HeadlessUi ui(messageSink);
    MainWindow window(ui, services);
    std::unique_ptr<ProgramCommands> commandsHolder =
        options.pricesFile
            ? std::make_unique<ProgramCommands>(window, services.Index(), priceLookup)
            : std::make_unique<ProgramCommands>(window, services.Index());
    ProgramCommands& commands = *commandsHolder;
    window.SetCommandHandlers(&commands);
    ui.Attach(&window);

    // Without --box the commands write past the window's box: a text report
    // straight out, records into a text that is turned into them at the end.
    // A chart keeps the report to itself and draws from it at the end.
    const bool text = options.format == ReportFormat::Text && !options.chart;
    std::ostringstream captured;
    StreamedOutput stream(text ? out : captured, text && options.crlf);
    if (!options.box) window.SetCommandOutput(&stream);

    window.StartUp();
    window.LoadPlutoTables();
    if (options.pricesFile) {
        std::istringstream lines(startUpMessages.str());
        for (std::string line; std::getline(lines, line);) {
            if (line != "Error reading DJIA data file") messages << line << '\n';
        }
        messageSink.rdbuf(messages.rdbuf());
    }
    const int startUpBoxes = ui.BoxesShown();

    InputSetter inputs(ui, window);
    inputs.Apply(options);
    if (!inputs.Ok()) {
        messages << "vlt-report: the window did not take the input for " << inputs.Failed()
                 << '\n';
        return kReportRefused;
    }

    // A computer whose zone is not in the window's list starts with no zone
    // chosen; the window's message then asks for one, and the report says
    // how to give it.
    const bool noZone = !options.timezoneIndex && options.command != ReportCommand::Simulate &&
                        ui.ListIndex(Ctl(ctl::cboTimezone, 0)) <= 0;
    const int boxesBeforeClick = ui.BoxesShown();

    const Ctl button = CommandButton(options);
    if (!ui.Click(button)) {
        messages << "vlt-report: the button " << button.ToString() << " is not available\n";
        return kReportRefused;
    }
    const bool commandBoxes = ui.BoxesShown() > startUpBoxes;
    if (noZone && ui.BoxesShown() > boxesBeforeClick) {
        messages << "vlt-report: the computer's time zone is not in the list; give one with --tz "
                    "(for example --tz GMT or --tz GMT+5:30)\n";
    }

    const InvestmentSimulation& simulation = commands.Simulation();
    const bool simulated = options.command == ReportCommand::Simulate &&
                           simulation.LastOutcome() == SimulationOutcome::Completed;
    std::optional<RunStatistics> statistics;
    if (options.stats && simulated) {
        IndexDataLookup indexLookup(services.Index());
        IndexLookup& values = options.pricesFile ? static_cast<IndexLookup&>(priceLookup)
                                                 : static_cast<IndexLookup&>(indexLookup);
        std::vector<std::pair<int, int>> pairs;
        for (const SimulationRecord& r : simulation.Records()) {
            pairs.emplace_back(RecordAspect(r), RecordOrb(r));
        }
        statistics =
            ComputeRunStatistics(pairs, simulation.Events(), values, simulation.StartDay(),
                                 simulation.EndDay(), options.trials, options.seed);
    }

    // The statistics follow the text report below a blank line.
    std::string statisticsText;
    if (statistics && text) {
        statisticsText = kLineBreak;
        for (char c : StatisticsText(*statistics, simulation.FirstPlanet(),
                                     simulation.SecondPlanet())) {
            if (c == '\n') statisticsText += '\r';
            statisticsText += c;
        }
    }

    bool empty = true;
    if (options.chart) {
        std::string report;
        if (options.box) {
            report = WithLfLineEnds(ui.Text(ctl::txbOutput));
        } else {
            stream.Finish();
            report = captured.str();
        }
        empty = report.empty();
        if (commandBoxes || (startUpBoxes > 0 && empty)) return kReportRefused;
        ChartModel model;
        if (options.command == ReportCommand::Simulate) {
            const std::size_t start = report.find_first_not_of('\n');
            model = SimulationChart(simulation.Events(), simulation.StartDay(),
                                    simulation.EndDay(),
                                    start == std::string::npos
                                        ? std::string()
                                        : report.substr(start, report.find('\n', start) - start));
            model.priceName = options.pricesFile ? *options.pricesFile : std::string("DJIA");
            model.prices = options.pricesFile
                               ? SeriesPrices(prices, model.firstDay, model.lastDay)
                               : IndexPrices(services.Index(), model.firstDay, model.lastDay);
        } else {
            model = TransitChartOfReport(report, window.DayNumber(0), window.DayNumber(1));
            model.priceName = "DJIA";
            model.prices = IndexPrices(services.Index(), model.firstDay, model.lastDay);
        }
        if (!WriteChartImage(model, options.chartFile, options.chartWidth, options.chartHeight,
                             messages)) {
            return kReportRefused;
        }
        return kReportDone;
    }
    if (options.box) {
        const std::string box = ui.Text(ctl::txbOutput);
        empty = box.empty();
        if (text) {
            WriteText(options, box + statisticsText, out);
        } else if (!empty) {
            out << Records(options, WithLfLineEnds(box), simulation, simulated,
                           statistics ? &*statistics : nullptr);
        }
    } else {
        empty = stream.Empty();
        stream.Append(statisticsText);
        stream.Finish();
        // Nothing to record when the command was refused before its report
        // began.
        if (!text && !empty) {
            out << Records(options, captured.str(), simulation, simulated,
                           statistics ? &*statistics : nullptr);
        }
    }
    out.flush();

    if (commandBoxes || (startUpBoxes > 0 && empty)) return kReportRefused;
    return kReportDone;
}

}  // namespace vlt

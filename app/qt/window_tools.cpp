#include "app/qt/window_tools.h"

#include <algorithm>
#include <filesystem>
#include <thread>

#include "app/qt/calendar_dialog.h"
#include "app/qt/price_dialog.h"
#include "app/qt/qt_screen.h"
#include "app/qt/research_dialog.h"
#include "app/qt/statistics_view.h"
#include "app/window/control_names.h"
#include "app/window/main_window.h"
#include "app/window/price_choice.h"
#include "app/window/program_commands.h"

namespace vlt {

WindowTools::WindowTools(MainWindow& window, QtScreen& screen, const ProgramCommands& commands,
                         PriceChoice& prices)
    : window_(window), screen_(screen), commands_(commands), prices_(prices) {
    window_.SetButtonAction(ctl::cmdPrices.text, nullptr, [this] { ChoosePrices(); });
    window_.SetButtonAction(
        ctl::cmdStatistics.text, [this] { return Simulated(); }, [this] { ShowStatistics(); });
    window_.SetButtonAction(ctl::cmdResearch.text, nullptr, [this] { ShowResearch(); });
    window_.SetButtonAction(ctl::cmdCalendar.text, nullptr, [this] { ShowCalendar(); });
}

WindowTools::~WindowTools() {
    for (const auto* name :
         {&ctl::cmdPrices, &ctl::cmdStatistics, &ctl::cmdResearch, &ctl::cmdCalendar}) {
        window_.SetButtonAction(name->text, nullptr, nullptr);
    }
}

bool WindowTools::Simulated() const {
    return commands_.SimulatedLast() &&
           commands_.Simulation().LastOutcome() == SimulationOutcome::Completed;
}

void WindowTools::ChoosePrices() {
    PriceDialog dialog(QString::fromStdString(prices_.Path()),
                       QString::fromStdString(prices_.Column()), &screen_);
    const int outcome = dialog.exec();
    if (outcome == PriceDialog::UseBuiltIn) {
        prices_.ChooseBuiltIn();
    } else if (outcome == PriceDialog::UseFile) {
        // A file that cannot be read is said so; the choice stays as it was.
        prices_.Choose(dialog.Path().toStdString(), dialog.Column().toStdString(), screen_);
    } else {
        return;
    }
    window_.PricesChanged();
}

void WindowTools::ShowStatistics() {
    if (!Simulated()) return;
    if (!statistics_) statistics_ = std::make_unique<StatisticsView>();
    statistics_->show();
    statistics_->raise();
    if (statistics_->Running()) return;
    const InvestmentSimulation& simulation = commands_.Simulation();
    FamilyRequest request = SimulationFamilyRequest(simulation, prices_);
    request.trials = trials_;
    request.jobs = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    statistics_->Start(std::move(request), simulation.Title());
}

// Every pair of the window's lists on the chosen prices over their whole
// span, with the window's aspect types and orbs; the dialog sets the rest.
void WindowTools::ShowResearch() {
    if (!research_) research_ = std::make_unique<ResearchDialog>();
    const WindowInputs in = window_.Snapshot();
    ResearchRequest request;
    request.prices = prices_.SeriesOrIndex();
    request.aspects = in.aspectEnabled;
    request.orbs = {in.orbDegrees[0], in.orbDegrees[1], in.orbDegrees[2]};
    request.trials = trials_;
    const std::string name = prices_.FileChosen()
                                 ? std::filesystem::path(prices_.Path()).filename().string()
                                 : std::string("DJIA");
    research_->Prepare(std::move(request), name, in.heliocentric);
    research_->show();
    research_->raise();
}

// The calendar in the window's zone unless the dialog kept another.
void WindowTools::ShowCalendar() {
    if (!calendar_) calendar_ = std::make_unique<CalendarDialog>();
    calendar_->Prepare(window_.Snapshot().timezoneText);
    calendar_->show();
    calendar_->raise();
}

}  // namespace vlt

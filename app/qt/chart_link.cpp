#include "app/qt/chart_link.h"

#include <filesystem>

#include "app/chart/chart_band.h"
#include "app/qt/chart_window.h"
#include "app/window/main_window.h"
#include "app/window/price_choice.h"
#include "app/window/program_commands.h"
#include "app/window/program_services.h"

namespace vlt {

ChartLink::ChartLink(MainWindow& window, const ProgramCommands& commands,
                     const ProgramServices& services)
    : window_(window), commands_(commands), services_(services) {
    window_.SetChartHandlers([this] { return !Current().Empty(); },
                             [this] {
                                 if (!chartWindow_) chartWindow_ = std::make_unique<ChartWindow>();
                                 chartWindow_->Show(Current());
                             });
}

ChartLink::~ChartLink() { window_.SetChartHandlers(nullptr, nullptr); }

// Buy and hold and the random-timing band, by the prices the simulation read.
void ChartLink::AddComparisons() {
    const std::vector<SimulationEvent>& events = commands_.Simulation().Events();
    if (prices_ != nullptr) {
        AddSimulationComparisons(model_, events, *prices_);
        return;
    }
    IndexDataLookup index(services_.Index());
    AddSimulationComparisons(model_, events, index);
}

const ChartModel& ChartLink::Current() {
    const std::size_t size = window_.OutputText().size();
    const std::size_t events = commands_.Simulation().Events().size();
    const std::int32_t first = window_.DayNumber(0), last = window_.DayNumber(1);
    // The simulation's outcome is set only as its click returns, after the
    // window has re-enabled its buttons.
    const int outcome = static_cast<int>(commands_.Simulation().LastOutcome());
    // A transit run's findings come with its result, after the window has
    // left its busy state (and asked for the chart once already).
    const std::uint64_t runs = commands_.RunsEnded();
    const std::string prices = prices_ != nullptr ? prices_->Caption() : std::string();
    if (!valid_ || size != outputSize_ || events != events_ || first != first_ || last != last_ ||
        outcome != outcome_ || runs != runs_ || prices != pricesShown_) {
        model_ = ChartOfLastRun(window_.OutputText().empty(), commands_.SimulatedLast(),
                                commands_.TransitFindings(), commands_.Simulation(),
                                services_.Index(), first, last);
        if (prices_ != nullptr && prices_->FileChosen()) {
            model_.priceName = std::filesystem::path(prices_->Path()).filename().string();
            model_.prices = SeriesPrices(prices_->Series(), model_.firstDay, model_.lastDay);
        }
        if (commands_.SimulatedLast()) AddComparisons();
        pricesShown_ = prices;
        outputSize_ = size;
        events_ = events;
        first_ = first;
        last_ = last;
        outcome_ = outcome;
        runs_ = runs;
        valid_ = true;
    }
    return model_;
}

}  // namespace vlt

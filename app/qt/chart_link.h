#pragma once
// The main window's "Chart" button connected to the chart window: enabled
// while the last run has something to draw, and opening the chart window
// (made on the first click, so that the start-up does not pay for it).

#include <cstdint>
#include <memory>
#include <string>

#include "app/chart/chart_model.h"

namespace vlt {

class ChartWindow;
class MainWindow;
class PriceChoice;
class ProgramCommands;
class ProgramServices;

class ChartLink {
public:
    ChartLink(MainWindow& window, const ProgramCommands& commands, const ProgramServices& services);
    ~ChartLink();
    // Draws the chosen price file's line in place of the index's, while one
    // is chosen, and measures a simulation's gains by those prices; null
    // (the default): the index.
    void UsePrices(PriceChoice* prices) {
        prices_ = prices;
        valid_ = false;
    }
    // The chart of the last run; worked out again only when a run has ended
    // since, or the output, the simulation's events or outcome, or the dates
    // have changed.
    const ChartModel& Current();
    // Null until the button was first clicked.
    ChartWindow* Window() const { return chartWindow_.get(); }

private:
    void AddComparisons();

    MainWindow& window_;
    const ProgramCommands& commands_;
    const ProgramServices& services_;
    PriceChoice* prices_ = nullptr;
    std::string pricesShown_;
    std::unique_ptr<ChartWindow> chartWindow_;
    std::size_t outputSize_ = 0;
    std::size_t events_ = 0;
    std::int32_t first_ = 0;
    std::int32_t last_ = 0;
    int outcome_ = 0;
    std::uint64_t runs_ = 0;
    bool valid_ = false;
    ChartModel model_;
};

}  // namespace vlt

#pragma once
// The main window's "Prices…", "Statistics…" and "Research…" buttons
// connected to their dialogs: the price file the simulation reads, the
// statistics of the last simulation and the research over all pairs, the
// last two run on worker threads.  The dialogs are made on first use.

#include <memory>

namespace vlt {

class MainWindow;
class PriceChoice;
class ProgramCommands;
class QtScreen;
class ResearchDialog;
class StatisticsView;

class WindowTools {
public:
    WindowTools(MainWindow& window, QtScreen& screen, const ProgramCommands& commands,
                PriceChoice& prices);
    ~WindowTools();

    // Random-timing trials of the statistics (and of the research).
    void SetTrials(int trials) { trials_ = trials; }

    // Null until first opened.
    StatisticsView* Statistics() const { return statistics_.get(); }
    ResearchDialog* Research() const { return research_.get(); }

    // What the buttons do.
    void ChoosePrices();
    void ShowStatistics();
    void ShowResearch();
    // Whether the last run was a completed simulation.
    bool Simulated() const;

private:
    MainWindow& window_;
    QtScreen& screen_;
    const ProgramCommands& commands_;
    PriceChoice& prices_;
    int trials_ = 1000;
    std::unique_ptr<StatisticsView> statistics_;
    std::unique_ptr<ResearchDialog> research_;
};

}  // namespace vlt

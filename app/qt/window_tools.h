#pragma once
// The main window's "Prices…", "Statistics…", "Research…" and "Calendar…"
// buttons connected to their dialogs: the price file the simulation reads,
// the statistics of the last simulation, the research over all pairs and
// the calendar of the sky, the last three run on worker threads.  The
// dialogs are made on first use.

#include <memory>

namespace vlt {

class CalendarDialog;
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
    CalendarDialog* Calendar() const { return calendar_.get(); }

    // What the buttons do.
    void ChoosePrices();
    void ShowStatistics();
    void ShowResearch();
    void ShowCalendar();
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
    std::unique_ptr<CalendarDialog> calendar_;
};

}  // namespace vlt

#pragma once
// What a chart of a finished run shows, in calendar days (Julian day
// numbers), without any toolkit: for transit runs the orb intervals and
// minima of every transit, one lane per aspect type (per planet pair for a
// show-all series); for simulations each aspect type's accumulated gain by
// date and the days investments opened and closed; for both the price line
// of the period where one is available.  The window's chart and the image
// files of vlt-report draw the same model.

#include <cstdint>
#include <string>
#include <vector>

#include "app/chart/plot_panel.h"
#include "app/engine/transit_records.h"
#include "app/simulation/index_data.h"
#include "app/simulation/investment_simulation.h"
#include "app/simulation/price_series.h"

namespace vlt {

// Orb levels (kOrbLevels), outermost first: the intervals of one transit
// nest in this order.

struct ChartLane {
    std::string label;  // the aspect name, or "Mars–Jupiter" for a pair
};

// The days a transit stayed within one orb.  An end that the report leaves
// empty (the transit began before the period, or goes on past it) is open
// and stands at the period's first or last day.
struct ChartInterval {
    int lane = 0;
    int aspect = 0;  // 1..7
    int level = 0;   // 0 outer, 1 middle, 2 inner
    int orb = 0;     // degrees
    std::int32_t startDay = 0;
    std::int32_t endDay = 0;
    bool openStart = false;
    bool openEnd = false;
    std::string pair;  // "Mars–Jupiter"
};

// The minimum of a transit: exact (within one minute of arc) or the smallest
// separation reached.
struct ChartMinimum {
    int lane = 0;
    int aspect = 0;
    std::int32_t day = 0;
    bool exact = false;
    bool retrograde = false;  // the report's "r" on the minimum
    std::string time;         // exact: clock time and zone as the report has them
    std::string distance;     // not exact: the smallest distance, e.g. 0°12'
    std::string pair;
};

struct ChartPoint {
    std::int32_t day = 0;
    double value = 0.0;
};

// One aspect type's accumulated gain of a simulation, all orbs together: it
// starts at 0 on the first day and steps at each redemption.
struct EquityCurve {
    int aspect = 0;
    std::vector<ChartPoint> points;
};

// An investment opened or closed, at the aspect's accumulated gain of that day.
struct TradeMark {
    int aspect = 0;
    int orb = 0;
    std::int32_t day = 0;
    double gain = 0.0;
    bool opens = true;
};

struct ChartModel {
    enum class Kind { None, Transits, Simulation, Panels };
    Kind kind = Kind::None;
    std::string title;
    std::int32_t firstDay = 0;
    std::int32_t lastDay = 0;

    std::vector<ChartLane> lanes;
    std::vector<ChartInterval> intervals;
    std::vector<ChartMinimum> minima;

    std::vector<EquityCurve> curves;
    std::vector<TradeMark> trades;

    std::string priceName;  // "DJIA", or the price file as given
    std::vector<ChartPoint> prices;

    // Kind::Panels: plain value plots, one above the other.
    std::vector<PlotPanel> panels;

    // Simulations, measured against: $100 bought on the first price day and
    // held, in dollars of gain; the random-timing band of the gain lines
    // (see chart_band.h).  Empty unless put in.
    std::vector<ChartPoint> buyAndHold;
    std::vector<ChartPoint> bandLow;
    std::vector<ChartPoint> bandHigh;

    // Nothing to draw: no transit, no investment.
    bool Empty() const;
};

// The day number of "YYYY-MM-DD"; 0 when the text is no such date.
std::int32_t ChartDay(const std::string& date);
std::string ChartDateText(std::int32_t day);

// The chart of a transit run from its table rows.  `perPair` gives one lane
// per planet pair (show-all series) instead of one per aspect type.
ChartModel TransitChart(const std::vector<TransitRecord>& rows, bool perPair, std::int32_t firstDay,
                        std::int32_t lastDay, const std::string& title);

// The chart of a transit run's results: one lane per planet pair when the
// run wrote several pairs (a show-all series), else one per aspect type.  A
// search covers no period of its own: its chart runs from a fortnight before
// the first date it found to a fortnight after the last.
ChartModel TransitChartOfResults(const TransitResults& results, std::int32_t firstDay,
                                 std::int32_t lastDay);

// The chart of the last run while the output box holds anything: the
// simulation's when it ran last and completed, else the last transit
// command's results (dates of the period from the window's date fields).
// Prices from the index where they cover the period.
ChartModel ChartOfLastRun(bool outputEmpty, bool simulatedLast, const TransitResults& transits,
                          const InvestmentSimulation& simulation, const IndexData& index,
                          std::int32_t firstDay, std::int32_t lastDay);

// The chart of a finished simulation from its events.
ChartModel SimulationChart(const std::vector<SimulationEvent>& events, std::int32_t firstDay,
                           std::int32_t lastDay, const std::string& title);

// The price line of the period: the days with a value of their own (a day
// without trading is left out), from the index file or a price file.
std::vector<ChartPoint> IndexPrices(const IndexData& data, std::int32_t firstDay,
                                    std::int32_t lastDay);
std::vector<ChartPoint> SeriesPrices(const PriceSeries& series, std::int32_t firstDay,
                                     std::int32_t lastDay);

// The English name of aspect type 1..7.
const char* ChartAspectName(int aspect);
int ChartAspectNumber(const std::string& name);

}  // namespace vlt

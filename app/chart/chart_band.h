#pragma once
// What a simulation's gain lines are measured against on its chart: buy and
// hold over the same period, and the band in which an aspect's gain line
// lies by chance.  For the band each trial moves every trade of the run by
// one random number of days, circularly within the period (so each keeps its
// holding time, as the statistics' trials do), and adds up each aspect's
// gains again from the prices; per day the band runs from the 5th to the
// 95th percentile of those lines over all trials and aspects.

#include <cstdint>
#include <vector>

#include "app/chart/chart_model.h"
#include "app/simulation/family_statistics.h"

namespace vlt {

inline constexpr int kBandTrials = 200;
inline constexpr std::uint64_t kBandSeed = 1;
inline constexpr double kBandLowShare = 0.05;
inline constexpr double kBandHighShare = 0.95;
// The band's days: at most this many, evenly spread, the first and the last
// among them.
inline constexpr int kBandPoints = 300;

// The gain of $100 bought at the first price and held to each later one, in
// dollars (the unit of the gain lines).
std::vector<ChartPoint> BuyAndHoldLine(const std::vector<ChartPoint>& prices);

struct GainBand {
    std::vector<ChartPoint> low;
    std::vector<ChartPoint> high;
};

// The band of the run's completed trades (its redemption events) over the
// days of `prices` (a day without a value takes the next day's that has
// one, the last days the first's).  Empty when there is no trade or no
// price.
GainBand RandomTimingBand(const std::vector<SimulationEvent>& events, const DailyValues& prices,
                          int trials = kBandTrials, std::uint64_t seed = kBandSeed);

// The buy-and-hold line and the band put into a simulation's chart.
void AddSimulationComparisons(ChartModel& model, const std::vector<SimulationEvent>& events,
                              IndexLookup& prices);

}  // namespace vlt

#pragma once
// The chart of a research run, two panels: the family's p-values in rising
// order against the diagonal they would follow if every combination were
// chance (uniform p), and the equity curves of the best combinations over the
// band in which the best one's curve falls under random timing.

#include <cstdint>
#include <string>
#include <vector>

#include "app/chart/chart_model.h"
#include "app/simulation/family_statistics.h"
#include "app/simulation/research.h"

namespace vlt {

// How many of the best combinations show their equity curves.
inline constexpr std::size_t kResearchChartCurves = 5;

ChartModel ResearchChart(const ResearchResult& result, const std::string& title);

// The accumulated gain of the trades, a step at each closing day, from 0 on
// `firstDay` to the total on `lastDay`.
std::vector<PlotPoint> EquityPoints(const std::vector<FamilyTrade>& trades, std::int32_t firstDay,
                                    std::int32_t lastDay);

// Where the accumulated gain of the same trades falls when the whole calendar
// is shifted circularly by a random number of days (each trade keeps its
// holding time), as the family's null does: the `low` and `high` shares of
// `draws` shifted curves, at about `samples` days of the period.
struct EquityBand {
    std::vector<PlotPoint> lower;
    std::vector<PlotPoint> upper;
};
EquityBand RandomTimingBand(const std::vector<FamilyTrade>& trades, const DailyValues& prices,
                            int draws, std::uint64_t seed, double low = 0.05, double high = 0.95,
                            int samples = 200);

}  // namespace vlt

#pragma once
// The statistics of a simulation as the window's table shows them: the
// columns `vlt-report simulate --stats` prints, each cell with the same
// digits, and a number to sort each column by (a text sort would put
// "10.00" before "9.00" and a combination outside the family among the
// smallest p-values).

#include <string>
#include <vector>

#include "app/simulation/family_statistics.h"
#include "app/simulation/research.h"

namespace vlt {

enum class StatisticsColumn {
    Pair,
    Trades,
    Won,
    TotalGain,
    MeanGain,
    HoldingDays,
    TimeInMarket,
    YearReturn,
    Drawdown,
    MatchedBuyAndHold,
    P,
    PAdjusted,
    Q,
};
inline constexpr int kStatisticsColumns = static_cast<int>(StatisticsColumn::Q) + 1;

// The heading of each column, as the text report heads it.
const std::string& StatisticsHeading(StatisticsColumn column);
// A tooltip that says what the column measures.
const std::string& StatisticsExplanation(StatisticsColumn column);

// The cell of `row`: the digits of the text report ("too few trades" in the
// p column of a combination outside the family, its other chance cells
// empty).
std::string StatisticsCell(const FamilyRow& row, StatisticsColumn column);

// The number `row` sorts by in `column`: the value itself; the pair by
// planets, aspect and orb; a chance cell of a combination outside the
// family after every p-value (above 1).
double StatisticsSortKey(const FamilyRow& row, StatisticsColumn column);

// The research table: the statistics' columns of each combination, then
// how the best of the family fared on the hold-out part of the period
// (empty for the others, and sorted after them).
enum class HoldoutColumn { Trades, MeanGain, PAdjusted };
inline constexpr int kResearchColumns = kStatisticsColumns + 3;

const std::string& ResearchHeading(int column);
const std::string& ResearchExplanation(int column);
std::string ResearchCell(const ResearchRow& row, int column);
double ResearchSortKey(const ResearchRow& row, int column);

}  // namespace vlt

#include "app/window/statistics_table.h"

#include <array>
#include <cstdio>

#include "app/simulation/simulation_lines.h"

namespace vlt {
namespace {

struct ColumnText {
    std::string heading;
    std::string explanation;
};

const std::array<ColumnText, kStatisticsColumns>& Columns() {
    static const std::array<ColumnText, kStatisticsColumns> columns{{
        {"Pair", "The planets, the aspect and the orb"},
        {"Trades", "Investments redeemed"},
        {"Won", "Investments that ended with a gain"},
        {"Total $", "Gain of $100 per investment, all investments together"},
        {"Mean %", "Mean gain per investment"},
        {"Days", "Mean days an investment was held"},
        {"In %", "Share of the period's days invested"},
        {"Year %", "The investments compounded, per year"},
        {"DD %", "Worst fall below the running peak, the investments compounded"},
        {"B&H %", "Buy and hold over as many days as the investments were held"},
        {"p", "Share of random timings at least as good (one shift of all trades per trial)"},
        {"p adj", "p adjusted for the whole family (Romano-Wolf step-down)"},
        {"q", "False discovery rate (Benjamini-Hochberg)"},
    }};
    return columns;
}

std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// Beyond every p-value, so that "too few trades" sorts last.
constexpr double kOutsideFamily = 2.0;

}  // namespace

const std::string& StatisticsHeading(StatisticsColumn column) {
    return Columns()[static_cast<std::size_t>(column)].heading;
}

const std::string& StatisticsExplanation(StatisticsColumn column) {
    return Columns()[static_cast<std::size_t>(column)].explanation;
}

std::string StatisticsCell(const FamilyRow& row, StatisticsColumn column) {
    using C = StatisticsColumn;
    switch (column) {
        case C::Pair:
            return PairLabel(static_cast<std::int16_t>(row.first),
                             static_cast<std::int16_t>(row.second), row.aspect, row.orbDegrees,
                             row.helio);
        case C::Trades: return std::to_string(row.trades);
        case C::Won: return std::to_string(row.winners);
        case C::TotalGain: return Fixed(row.totalGain, 2);
        case C::MeanGain: return Fixed(row.meanGain, 2);
        case C::HoldingDays: return Fixed(row.meanHoldingDays, 1);
        case C::TimeInMarket: return Fixed(row.timeInMarket * 100.0, 1);
        case C::YearReturn: return Fixed(row.annualisedReturn, 2);
        case C::Drawdown: return Fixed(row.maxDrawdown, 1);
        case C::MatchedBuyAndHold: return Fixed(row.matchedBuyAndHold, 2);
        case C::P: return row.inFamily ? Fixed(row.p, 4) : "too few trades";
        case C::PAdjusted: return row.inFamily ? Fixed(row.pAdjusted, 4) : "";
        case C::Q: return row.inFamily ? Fixed(row.q, 4) : "";
    }
    return "";
}

double StatisticsSortKey(const FamilyRow& row, StatisticsColumn column) {
    using C = StatisticsColumn;
    switch (column) {
        case C::Pair:
            return ((row.first * 100.0 + row.second) * 100.0 + row.aspect) * 100.0 + row.orbDegrees;
        case C::Trades: return row.trades;
        case C::Won: return row.winners;
        case C::TotalGain: return row.totalGain;
        case C::MeanGain: return row.meanGain;
        case C::HoldingDays: return row.meanHoldingDays;
        case C::TimeInMarket: return row.timeInMarket;
        case C::YearReturn: return row.annualisedReturn;
        case C::Drawdown: return row.maxDrawdown;
        case C::MatchedBuyAndHold: return row.matchedBuyAndHold;
        case C::P: return row.inFamily ? row.p : kOutsideFamily;
        case C::PAdjusted: return row.inFamily ? row.pAdjusted : kOutsideFamily;
        case C::Q: return row.inFamily ? row.q : kOutsideFamily;
    }
    return 0.0;
}

namespace {

const std::array<ColumnText, 3>& HoldoutColumns() {
    static const std::array<ColumnText, 3> columns{{
        {"Later trades", "Investments redeemed in the held-out part of the period"},
        {"Later mean %", "Mean gain per investment in the held-out part"},
        {"Later p adj", "p adjusted over the ten best, valued again on the held-out part"},
    }};
    return columns;
}

// Past every hold-out value: a combination without one sorts last.
constexpr double kNoHoldout = 1e300;

}  // namespace

const std::string& ResearchHeading(int column) {
    if (column < kStatisticsColumns)
        return StatisticsHeading(static_cast<StatisticsColumn>(column));
    return HoldoutColumns()[static_cast<std::size_t>(column - kStatisticsColumns)].heading;
}

const std::string& ResearchExplanation(int column) {
    if (column < kStatisticsColumns) {
        return StatisticsExplanation(static_cast<StatisticsColumn>(column));
    }
    return HoldoutColumns()[static_cast<std::size_t>(column - kStatisticsColumns)].explanation;
}

std::string ResearchCell(const ResearchRow& row, int column) {
    if (column < kStatisticsColumns) {
        return StatisticsCell(row.row, static_cast<StatisticsColumn>(column));
    }
    if (!row.holdout) return "";
    const ResearchHoldout& h = *row.holdout;
    switch (static_cast<HoldoutColumn>(column - kStatisticsColumns)) {
        case HoldoutColumn::Trades: return std::to_string(h.trades);
        case HoldoutColumn::MeanGain: return Fixed(h.meanGain, 2);
        case HoldoutColumn::PAdjusted: return h.inFamily ? Fixed(h.pAdjusted, 4) : "too few trades";
    }
    return "";
}

double ResearchSortKey(const ResearchRow& row, int column) {
    if (column < kStatisticsColumns) {
        return StatisticsSortKey(row.row, static_cast<StatisticsColumn>(column));
    }
    if (!row.holdout) return kNoHoldout;
    const ResearchHoldout& h = *row.holdout;
    switch (static_cast<HoldoutColumn>(column - kStatisticsColumns)) {
        case HoldoutColumn::Trades: return h.trades;
        case HoldoutColumn::MeanGain: return h.meanGain;
        case HoldoutColumn::PAdjusted: return h.inFamily ? h.pAdjusted : kOutsideFamily;
    }
    return kNoHoldout;
}

}  // namespace vlt

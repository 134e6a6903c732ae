// The statistics table's cells hold the digits the text report prints (the
// report's line read back as the oracle), and each column sorts by number.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "app/window/statistics_table.h"

namespace vlt {
namespace {

FamilyRow Row(int aspect, int orb, int trades, double total, double p, bool inFamily) {
    FamilyRow r;
    r.first = 3;
    r.second = 4;
    r.helio = true;
    r.aspect = aspect;
    r.orbDegrees = orb;
    r.trades = trades;
    r.winners = trades / 2;
    r.totalGain = total;
    r.meanGain = total / std::max(trades, 1);
    r.meanHoldingDays = 12.25;
    r.timeInMarket = 0.3456;
    r.tradedReturn = 8.0;
    r.annualisedReturn = -1.005;
    r.maxDrawdown = 7.75;
    r.matchedBuyAndHold = 3.5;
    r.inFamily = inFamily;
    r.p = p;
    r.pAdjusted = std::min(1.0, p * 3);
    r.q = std::min(1.0, p * 2);
    return r;
}

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

TEST(StatisticsTable, CellsHoldTheDigitsOfTheTextReport) {
    FamilyResult result;
    result.rows = {Row(1, 10, 12, 123.456, 0.0123, true), Row(4, 2, 3, -9.999, 1.0, false),
                   Row(7, 5, 40, 1e5 / 3, 0.5, true)};
    std::istringstream text(FamilyStatisticsText(result));
    std::string line;
    std::getline(text, line);  // heading
    std::getline(text, line);  // method
    std::getline(text, line);  // column headings
    std::string headings;
    for (int k = 0; k < kStatisticsColumns; ++k) {
        headings += StatisticsHeading(static_cast<StatisticsColumn>(k)) + " ";
    }
    EXPECT_EQ(Words(headings), Words(line));
    for (const FamilyRow& row : result.rows) {
        ASSERT_TRUE(std::getline(text, line));
        // The label fills the first 17 characters (one of them two bytes).
        const std::string pair = StatisticsCell(row, StatisticsColumn::Pair);
        ASSERT_EQ(line.rfind(pair, 0), 0u) << line;
        std::vector<std::string> cells;
        for (int k = 1; k < kStatisticsColumns; ++k) {
            const std::string cell = StatisticsCell(row, static_cast<StatisticsColumn>(k));
            for (const std::string& w : Words(cell)) cells.push_back(w);
        }
        EXPECT_EQ(cells, Words(line.substr(pair.size()))) << line;
    }
}

TEST(StatisticsTable, ColumnsSortByNumberAndTooFewTradesLast) {
    const std::vector<FamilyRow> rows = {Row(1, 10, 9, 9.0, 0.2, true),
                                         Row(1, 9, 10, 10.0, 0.05, true),
                                         Row(2, 1, 2, -100.0, 0.0, false)};
    struct Case {
        StatisticsColumn column;
        std::vector<int> ascending;  // row numbers
    } cases[] = {
        {StatisticsColumn::Pair, {1, 0, 2}},       // orb 9 before orb 10
        {StatisticsColumn::Trades, {2, 0, 1}},     // 2, 9, 10
        {StatisticsColumn::TotalGain, {2, 0, 1}},  // -100, 9, 10
        {StatisticsColumn::P, {1, 0, 2}},          // 0.05, 0.2, outside the family
        {StatisticsColumn::Q, {1, 0, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(StatisticsHeading(c.column));
        std::vector<int> order = {0, 1, 2};
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return StatisticsSortKey(rows[static_cast<std::size_t>(a)], c.column) <
                   StatisticsSortKey(rows[static_cast<std::size_t>(b)], c.column);
        });
        EXPECT_EQ(order, c.ascending);
    }
    EXPECT_EQ(StatisticsCell(rows[2], StatisticsColumn::P), "too few trades");
    EXPECT_EQ(StatisticsCell(rows[2], StatisticsColumn::PAdjusted), "");
}

}  // namespace
}  // namespace vlt

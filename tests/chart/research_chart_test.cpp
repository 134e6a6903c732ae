// The research chart's model on markets whose answers are known: the equity
// curve steps by each trade's gain on its closing day; on a market that rises
// at one steady rate every random timing of the same trades ends with the
// same total (give or take the one day a trade that wraps round the period
// loses), so the band closes round it; on a flat market it is zero.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/chart/research_chart.h"

namespace vlt {
namespace {

constexpr std::int32_t kFirst = 2450000;

TEST(ResearchChart, EquityStepsAtEachClose) {
    const std::vector<FamilyTrade> trades = {{kFirst + 10, kFirst + 20, 2.5},
                                             {kFirst + 5, kFirst + 8, -1.0}};
    const std::vector<PlotPoint> points = EquityPoints(trades, kFirst, kFirst + 100);
    // Start, then before and after each close in date order, then the end.
    const std::vector<PlotPoint> expected = {{kFirst, 0.0},      {kFirst + 8, 0.0},
                                             {kFirst + 8, -1.0}, {kFirst + 20, -1.0},
                                             {kFirst + 20, 1.5}, {kFirst + 100, 1.5}};
    ASSERT_EQ(points.size(), expected.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_DOUBLE_EQ(points[i].x, expected[i].x) << i;
        EXPECT_DOUBLE_EQ(points[i].y, expected[i].y) << i;
    }
}

struct BandCase {
    const char* name;
    double dailyGrowth;  // the market's log return every day
};

TEST(ResearchChart, RandomTimingBandOfKnownMarkets) {
    const int days = 1000;
    const int hold = 10;
    std::vector<FamilyTrade> trades;
    for (int k = 0; k < 8; ++k) {
        trades.push_back({kFirst + 50 + 100 * k, kFirst + 50 + 100 * k + hold, 0.0});
    }
    for (const BandCase& c : {BandCase{"flat", 0.0}, BandCase{"steady rise", 0.001}}) {
        DailyValues market{kFirst, {}};
        for (int d = 0; d < days; ++d) market.values.push_back(100.0 * std::exp(c.dailyGrowth * d));
        const EquityBand band = RandomTimingBand(trades, market, 99, 3);
        ASSERT_FALSE(band.lower.empty()) << c.name;
        ASSERT_EQ(band.lower.size(), band.upper.size()) << c.name;
        EXPECT_DOUBLE_EQ(band.lower.front().x, kFirst) << c.name;
        EXPECT_DOUBLE_EQ(band.lower.back().x, kFirst + days - 1) << c.name;
        // Every trade gains e^(r h) - 1, or e^(r (h - 1)) - 1 across the wrap.
        const double most = 8 * (std::exp(c.dailyGrowth * hold) - 1.0) * 100.0;
        const double least = 8 * (std::exp(c.dailyGrowth * (hold - 1)) - 1.0) * 100.0;
        EXPECT_GE(band.lower.back().y, least - 1e-9) << c.name;
        EXPECT_LE(band.upper.back().y, most + 1e-9) << c.name;
        for (std::size_t i = 0; i < band.lower.size(); ++i) {
            EXPECT_LE(band.lower[i].y, band.upper[i].y) << c.name << " " << i;
            // Every shifted curve only rises, and so does any share of them.
            if (i > 0) {
                EXPECT_GE(band.lower[i].y, band.lower[i - 1].y - 1e-9) << c.name;
            }
        }
    }
}

TEST(ResearchChart, PanelsOfAResult) {
    ResearchResult result;
    result.familySize = 3;
    result.prices = DailyValues{kFirst, std::vector<double>(400, 100.0)};
    result.startDay = kFirst;
    result.endDay = kFirst + 399;
    const double ps[] = {0.5, 0.01, 0.9};
    for (double p : ps) {
        ResearchRow row;
        row.row.inFamily = true;
        row.row.p = p;
        row.trades = {{kFirst + 10, kFirst + 20, 1.0}};
        result.rows.push_back(row);
    }
    result.rows.push_back(ResearchRow{});  // too few trades: not drawn
    const ChartModel model = ResearchChart(result, "title");
    ASSERT_EQ(model.kind, ChartModel::Kind::Panels);
    ASSERT_EQ(model.panels.size(), 2u);
    // The p in rising order at the middle of their rank's share.
    const PlotLine& p = model.panels[0].lines.back();
    ASSERT_EQ(p.points.size(), 3u);
    EXPECT_DOUBLE_EQ(p.points[0].y, 0.01);
    EXPECT_DOUBLE_EQ(p.points[2].y, 0.9);
    EXPECT_DOUBLE_EQ(p.points[1].x, 0.5);
    // Three curves (the fourth row is outside the family) and the best one's band.
    EXPECT_EQ(model.panels[1].lines.size(), 3u);
    EXPECT_EQ(model.panels[1].bands.size(), 1u);
    EXPECT_FALSE(model.Empty());
}

}  // namespace
}  // namespace vlt

// The simulation chart's yardsticks against answers known from the prices
// alone: buy and hold recounted, and the random-timing band of series whose
// every possible trade gain can be listed by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "app/chart/chart_band.h"
#include "app/chart/chart_legend.h"

namespace vlt {
namespace {

constexpr std::int32_t kFirst = 2450000;

SimulationEvent Redemption(int aspect, std::int32_t open, std::int32_t close) {
    SimulationEvent e;
    e.kind = SimulationEvent::Kind::Redemption;
    e.aspect = static_cast<Aspect>(aspect);
    e.purchaseDay = open;
    e.day = close;
    return e;
}

TEST(ChartBand, BuyAndHoldIsTheGainOfTheFirstPrice) {
    const std::vector<ChartPoint> prices = {{kFirst, 100}, {kFirst + 3, 110}, {kFirst + 4, 90}};
    const std::vector<ChartPoint> line = BuyAndHoldLine(prices);
    ASSERT_EQ(line.size(), 3u);
    EXPECT_EQ(line[1].day, kFirst + 3);
    EXPECT_NEAR(line[0].value, 0.0, 1e-12);
    EXPECT_NEAR(line[1].value, 10.0, 1e-12);
    EXPECT_NEAR(line[2].value, -10.0, 1e-12);
    EXPECT_TRUE(BuyAndHoldLine({}).empty());
}

// 400 days at 100, then 200 from day 200: a trade gains 100 dollars when it
// holds across day 200, nothing otherwise (a holding that wraps round from
// the last day to the first crosses from 200 to 100 and back).  Of the 399
// shifts, `hold` put a trade across the step.
TEST(ChartBand, BandOfAStepFollowsTheShareOfTradesThatCrossIt) {
    DailyValues step{kFirst, std::vector<double>(400, 100.0)};
    for (std::size_t i = 200; i < 400; ++i) step.values[i] = 200.0;
    const DailyValues flat{kFirst, std::vector<double>(400, 50.0)};
    struct Case {
        const char* name;
        const DailyValues* prices;
        int hold;
        double lowAtEnd;
        double highAtEnd;
    } cases[] = {
        {"flat prices", &flat, 30, 0.0, 0.0},
        {"short holding: 5 of 399 shifts cross", &step, 5, 0.0, 0.0},
        {"half the period: half the shifts cross", &step, 200, 0.0, 100.0},
        {"all but 10 of 399 shifts cross", &step, 390, 100.0, 100.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // One trade from day 10; a second aspect with the same trade.
        const std::vector<SimulationEvent> events = {
            Redemption(1, kFirst + 10, kFirst + 10 + c.hold),
            Redemption(3, kFirst + 10, kFirst + 10 + c.hold)};
        const GainBand band = RandomTimingBand(events, *c.prices, 400, 7);
        ASSERT_EQ(band.low.size(), static_cast<std::size_t>(kBandPoints));
        ASSERT_EQ(band.high.size(), band.low.size());
        EXPECT_EQ(band.low.front().day, kFirst);
        EXPECT_EQ(band.low.back().day, kFirst + 399);
        EXPECT_NEAR(band.low.back().value, c.lowAtEnd, 1e-9);
        EXPECT_NEAR(band.high.back().value, c.highAtEnd, 1e-9);
        for (std::size_t g = 0; g < band.low.size(); ++g) {
            EXPECT_LE(band.low[g].value, band.high[g].value);
            // A gain is 0 or 100 dollars: so is every percentile.
            EXPECT_TRUE(band.high[g].value == 0.0 || band.high[g].value == 100.0);
        }
    }
}

// Prices growing by a factor g a day: a trade held h days gains g^h - 1, or
// g^(h-1) - 1 when its holding wraps round the period; by the last day every
// trade has closed.
TEST(ChartBand, BandOfSteadyGrowthEndsWithTheSumOfTheGains) {
    DailyValues growth{kFirst, {}};
    const double g = 1.001;
    for (int i = 0; i < 1000; ++i) growth.values.push_back(100.0 * std::pow(g, i));
    growth.values[500] = 0.0;  // a day without trading takes the next day's value
    std::vector<SimulationEvent> events;
    for (int k = 0; k < 4; ++k) {
        events.push_back(Redemption(2, kFirst + 100 * k, kFirst + 100 * k + 20));
    }
    const GainBand band = RandomTimingBand(events, growth);
    const double most = 4 * (std::pow(g, 20) - 1.0) * 100.0;
    const double least = 4 * (std::pow(g, 19) - 1.0) * 100.0;
    EXPECT_GE(band.low.back().value, least - 0.05);  // the gap day moves a gain a little
    EXPECT_LE(band.high.back().value, most + 0.05);
    EXPECT_GT(band.high.back().value, least);
    for (std::size_t i = 1; i < band.low.size(); ++i) {
        EXPECT_GE(band.low[i].value, band.low[i - 1].value - 1e-9);  // gains only add up
    }
}

TEST(ChartBand, NoTradeOrNoPriceMakesNoBand) {
    const DailyValues flat{kFirst, std::vector<double>(100, 10.0)};
    SimulationEvent opened;  // an investment without its redemption
    opened.purchaseDay = kFirst + 3;
    EXPECT_TRUE(RandomTimingBand({opened}, flat).low.empty());
    const DailyValues none{kFirst, std::vector<double>(100, 0.0)};
    EXPECT_TRUE(RandomTimingBand({Redemption(1, kFirst + 1, kFirst + 9)}, none).low.empty());
}

TEST(ChartBand, LegendNamesTheYardsticksTheChartHas) {
    ChartModel m;
    m.kind = ChartModel::Kind::Simulation;
    m.curves = {EquityCurve{1, {{kFirst, 0.0}}}};
    const auto has = [](const ChartModel& model, LegendEntry::Swatch s) {
        const std::vector<LegendEntry> entries = ChartLegend(model);
        return std::any_of(entries.begin(), entries.end(),
                           [s](const LegendEntry& e) { return e.swatch == s; });
    };
    EXPECT_FALSE(has(m, LegendEntry::Swatch::BuyAndHold));
    EXPECT_FALSE(has(m, LegendEntry::Swatch::RandomBand));
    m.buyAndHold = {{kFirst, 0.0}};
    m.bandLow = m.bandHigh = {{kFirst, 0.0}};
    EXPECT_TRUE(has(m, LegendEntry::Swatch::BuyAndHold));
    EXPECT_TRUE(has(m, LegendEntry::Swatch::RandomBand));
}

}  // namespace
}  // namespace vlt

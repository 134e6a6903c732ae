// The legend's entries and the title of a show-all chart, from rows and
// models made here.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/chart/chart_legend.h"

namespace vlt {
namespace {

std::vector<std::string> Labels(const std::vector<LegendEntry>& entries) {
    std::vector<std::string> labels;
    for (const LegendEntry& e : entries) labels.push_back(e.label);
    return labels;
}

TEST(ChartLegend, ExplainsWhatEachKindOfChartDraws) {
    ChartModel transits;
    transits.kind = ChartModel::Kind::Transits;
    // Aspects in aspect order whatever the order drawn; the orb of each
    // level from its bars.
    transits.intervals = {{0, 4, 0, 10, 1, 2, false, false, ""},
                          {0, 4, 1, 5, 1, 2, false, false, ""},
                          {1, 1, 2, 2, 1, 2, false, false, ""}};
    transits.minima = {{2, 7, 1, true, false, "", "", ""}};
    ChartModel withPrices = transits;
    withPrices.priceName = "DJIA";
    withPrices.prices = {{1, 100.0}};
    ChartModel simulation;
    simulation.kind = ChartModel::Kind::Simulation;
    simulation.curves = {{3, {}}, {1, {}}};
    const struct {
        const char* what;
        const ChartModel& model;
        std::vector<std::string> labels;
    } cases[] = {
        {"transits",
         transits,
         {"Conjunction", "Trine", "Quincunx", "outer orb 10\u00b0", "middle orb 5\u00b0",
          "inner orb 2\u00b0", "exact", "exact, first planet retrograde", "closest, not exact"}},
        {"simulation",
         simulation,
         {"Conjunction", "Square", "investment opens", "investment closes"}},
        {"nothing", ChartModel{}, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(Labels(ChartLegend(c.model)), c.labels) << c.what;
    // The price line comes last.
    const std::vector<LegendEntry> e = ChartLegend(withPrices);
    ASSERT_EQ(e.size(), 10u);
    EXPECT_EQ(e[9].label, "DJIA");
    EXPECT_EQ(e[0].swatch, LegendEntry::Swatch::AspectColour);
    EXPECT_EQ(e[2].aspect, 7);
    EXPECT_EQ(e[5].swatch, LegendEntry::Swatch::OrbShade);
    EXPECT_EQ(e[5].level, 2);
    EXPECT_EQ(e[7].swatch, LegendEntry::Swatch::RetrogradeMinimum);
    EXPECT_EQ(e[9].swatch, LegendEntry::Swatch::PriceLine);
}

TransitRecord Row(const char* first, const char* second) {
    TransitRecord r;
    r.centricity = "geocentric";
    r.firstPlanet = first;
    r.secondPlanet = second;
    return r;
}

TEST(SeriesTitle, NamesTheKeptPlanetAndTheOthers) {
    const std::int32_t first = ChartDay("2024-01-01"), last = ChartDay("2024-12-31");
    const struct {
        const char* what;
        std::vector<TransitRecord> rows;
        std::string title;
    } cases[] = {
        {"first planet kept",
         {Row("Mars", "Jupiter"), Row("Mars", "Jupiter"), Row("Mars", "Saturn"),
          Row("Mars", "Pluto")},
         "Geocentric transits of Mars with Jupiter, Saturn and Pluto, 2024-01-01 to 2024-12-31"},
        {"second planet kept",
         {Row("Sun", "Jupiter"), Row("Venus", "Jupiter")},
         "Geocentric transits of Jupiter with Sun and Venus, 2024-01-01 to 2024-12-31"},
        {"kept planet first in one pair, second in another",
         {Row("Sun", "Mars"), Row("Mars", "Jupiter"), Row("Mars", "Saturn")},
         "Geocentric transits of Mars with Sun, Jupiter and Saturn, 2024-01-01 to 2024-12-31"},
        {"one pair", {Row("Mars", "Jupiter"), Row("Mars", "Jupiter")}, ""},
        {"no planet in every pair", {Row("Sun", "Mars"), Row("Venus", "Jupiter")}, ""},
        {"no rows", {}, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(SeriesTitle(c.rows, first, last), c.title) << c.what;
    std::vector<TransitRecord> helio = {Row("Earth", "Mars"), Row("Earth", "Venus")};
    for (TransitRecord& r : helio) r.centricity = "heliocentric";
    EXPECT_EQ(SeriesTitle(helio, first, last).rfind("Heliocentric transits of Earth with ", 0), 0u);
}

}  // namespace
}  // namespace vlt

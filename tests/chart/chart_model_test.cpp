// The chart model against the reports it is drawn from: every interval's ends
// are the dates of the report's cells, read here straight from the fixed
// columns of the report lines; an end the report leaves empty is open and
// stands at the period's edge; each minimum is where the report puts it.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "app/chart/chart_model.h"
#include "tests/engine/golden_scan.h"

namespace vlt {
namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string Golden(const std::string& name) {
    return ReadFile(std::string(VLT_SOURCE_DIR) + "/tests/engine/golden/" + name);
}

// The report's own cells: aspect (carried down), the three start dates, the
// minimum cell and the three end dates (inner to outer), read by column.
struct Cells {
    std::string aspect;
    std::string start[3];
    std::string minimum;
    std::string end[3];
};

std::string Cell(const std::string& line, std::size_t at) {
    std::string c = line.substr(at, 12);
    while (!c.empty() && c.back() == ' ') c.pop_back();
    return c;
}

std::vector<Cells> ReportCells(const std::string& report) {
    std::vector<Cells> rows;
    std::istringstream in(report);
    std::string aspect;
    for (std::string line; std::getline(in, line);) {
        if (line.size() < 104 || line.compare(12, 2, "| ") != 0 || line.rfind("Aspect", 0) == 0) {
            continue;
        }
        Cells c;
        if (!Cell(line, 0).empty()) aspect = Cell(line, 0);
        c.aspect = aspect;
        for (int k = 0; k < 3; ++k) {
            c.start[k] = Cell(line, 14 + 12 * static_cast<std::size_t>(k)).substr(0, 10);
            c.end[k] = Cell(line, 66 + 12 * static_cast<std::size_t>(k)).substr(0, 10);
        }
        c.minimum = Cell(line, 52);
        rows.push_back(c);
    }
    return rows;
}

struct Case {
    const char* golden;
    std::int32_t firstDay;  // the period of the report's title
    std::int32_t lastDay;
    std::size_t intervals;  // counted by hand from the report
    std::size_t openStarts;
    std::size_t openEnds;
    testing::GoldenScan scan;  // the request the report answers
};

class TransitChartTest : public ::testing::TestWithParam<Case> {};

TEST_P(TransitChartTest, IntervalEndsAreTheReportsDates) {
    const Case& c = GetParam();
    const std::string report = Golden(c.golden);
    const std::vector<Cells> cells = ReportCells(report);
    const ChartModel m = TransitChart(TransitRecords(testing::ScanResults(c.scan)), false,
                                      c.firstDay, c.lastDay, "");
    ASSERT_FALSE(cells.empty());
    ASSERT_FALSE(m.Empty());

    // Every date cell of the report is the end of an interval of its aspect
    // and level, and every closed end of an interval is such a cell.
    std::multiset<std::tuple<std::string, int, bool, std::int32_t>> cellEnds, modelEnds;
    for (const Cells& row : cells) {
        for (int level = 0; level < 3; ++level) {
            if (!row.start[level].empty()) {
                cellEnds.insert({row.aspect, level, true, ChartDay(row.start[level])});
            }
            if (!row.end[2 - level].empty()) {
                cellEnds.insert({row.aspect, level, false, ChartDay(row.end[2 - level])});
            }
        }
    }
    std::size_t openStarts = 0, openEnds = 0;
    for (const ChartInterval& iv : m.intervals) {
        const std::string aspect = ChartAspectName(iv.aspect);
        EXPECT_EQ(m.lanes[static_cast<std::size_t>(iv.lane)].label, aspect);
        EXPECT_LE(iv.startDay, iv.endDay);
        if (iv.openStart) {
            EXPECT_EQ(iv.startDay, c.firstDay);
            ++openStarts;
        } else {
            modelEnds.insert({aspect, iv.level, true, iv.startDay});
        }
        if (iv.openEnd) {
            EXPECT_EQ(iv.endDay, c.lastDay);
            ++openEnds;
        } else {
            modelEnds.insert({aspect, iv.level, false, iv.endDay});
        }
    }
    EXPECT_EQ(modelEnds, cellEnds);
    EXPECT_EQ(m.intervals.size(), c.intervals);
    EXPECT_EQ(openStarts, c.openStarts);
    EXPECT_EQ(openEnds, c.openEnds);

    // Intervals nest: each inner interval lies within a middle one, each
    // middle within an outer one, of the same aspect.
    for (const ChartInterval& inner : m.intervals) {
        if (inner.level == 0) continue;
        bool inside = false;
        for (const ChartInterval& outer : m.intervals) {
            inside = inside || (outer.aspect == inner.aspect && outer.level == inner.level - 1 &&
                                outer.startDay <= inner.startDay && inner.endDay <= outer.endDay);
        }
        EXPECT_TRUE(inside) << ChartAspectName(inner.aspect) << " level " << inner.level << " "
                            << ChartDateText(inner.startDay);
    }

    // One minimum per row, on the report's day, exact with "*", retrograde
    // with "r".
    ASSERT_EQ(m.minima.size(),
              static_cast<std::size_t>(std::count_if(
                  cells.begin(), cells.end(), [](const Cells& r) { return !r.minimum.empty(); })));
    std::size_t i = 0;
    for (const Cells& row : cells) {
        if (row.minimum.empty()) continue;
        const ChartMinimum& mn = m.minima[i++];
        EXPECT_EQ(ChartDateText(mn.day), row.minimum.substr(0, 10));
        EXPECT_EQ(mn.exact, row.minimum.find('*') != std::string::npos);
        EXPECT_EQ(mn.retrograde, row.minimum.find('r') != std::string::npos);
        EXPECT_EQ(ChartAspectName(mn.aspect), row.aspect);
    }
}

INSTANTIATE_TEST_SUITE_P(Reports, TransitChartTest,
                         ::testing::Values(
                             // Two semisextiles share one passage through the outer orb: the
                             // second approach reports only its middle and inner dates, and the
                             // outer interval is the first row's.  The last sextile has not left
                             // the outer orb by December 31.
                             Case{"geocentric_mercury_venus_2024.txt", 2460311, 2460676, 26, 0, 1,
                                  testing::kGeocentricMercuryVenus2024},
                             // The first trine was in the outer orb when 2020 began (only its
                             // outer exit is reported); the last quincunx entered the outer orb
                             // two days before the end.  Twenty-two full transits between.
                             Case{"heliocentric_earth_mars_2020_2023.txt", 2458850, 2460310, 68, 1,
                                  1, testing::kHeliocentricEarthMars2020To2023}),
                         [](const ::testing::TestParamInfo<Case>& p) {
                             std::string n = p.param.golden;
                             return n.substr(0, n.find('_'));
                         });

TEST(TransitChart, OpenEndsAndLanes) {
    // Rows built the way the report writes them: a transit under way at the
    // start (no entries), one still on at the end (no exits), in a show-all
    // series of two pairs.
    std::vector<TransitRecord> rows(2);
    rows[0].centricity = rows[1].centricity = "geocentric";
    rows[0].firstPlanet = rows[1].firstPlanet = "Venus";
    rows[0].secondPlanet = "Mars";
    rows[1].secondPlanet = "Jupiter";
    rows[0].aspect = "Trine";
    rows[1].aspect = "Square";
    for (TransitRecord& r : rows) {
        r.outerOrb = 10;
        r.middleOrb = 5;
        r.innerOrb = 2;
    }
    rows[0].minimumDate = "2024-01-05";
    rows[0].exact = true;
    rows[0].end[0] = "2024-01-07";  // inner
    rows[0].end[1] = "2024-01-09";  // middle
    rows[0].end[2] = "2024-01-20";  // outer
    rows[1].start[0] = "2024-03-01";
    rows[1].minimumDate = "2024-03-30";
    rows[1].minimumDegrees = 7.5;  // never within the middle orb
    const std::int32_t first = ChartDay("2024-01-01"), last = ChartDay("2024-03-31");
    const ChartModel m = TransitChart(rows, true, first, last, "");
    ASSERT_EQ(m.lanes.size(), 2u);
    EXPECT_EQ(m.lanes[0].label, "Venus\u2013Mars");
    EXPECT_EQ(m.lanes[1].label, "Venus\u2013Jupiter");
    ASSERT_EQ(m.intervals.size(), 4u);
    for (int level = 0; level < 3; ++level) {
        const ChartInterval& iv = m.intervals[static_cast<std::size_t>(level)];
        EXPECT_TRUE(iv.openStart);
        EXPECT_EQ(iv.startDay, first);
        EXPECT_FALSE(iv.openEnd);
        EXPECT_EQ(ChartDateText(iv.endDay), rows[0].end[2 - level]);
    }
    const ChartInterval& square = m.intervals[3];
    EXPECT_EQ(square.lane, 1);
    EXPECT_EQ(square.level, 0);
    EXPECT_EQ(ChartDateText(square.startDay), "2024-03-01");
    EXPECT_TRUE(square.openEnd);
    EXPECT_EQ(square.endDay, last);
    ASSERT_EQ(m.minima.size(), 2u);
    EXPECT_TRUE(m.minima[0].exact);
    EXPECT_FALSE(m.minima[1].exact);
}

// The simulation's detail lines, read back into the events they report.
std::vector<SimulationEvent> DetailEvents(const std::string& report) {
    static const std::regex investment(R"(^(\w+) +(\d+)°, investment #(\d+) on (\S+) of .*$)");
    static const std::regex redemption(
        R"(^(\w+) +(\d+)°, redemption #(\d+) on (\S+), (gained|lost) \$([0-9.]+),.*$)");
    std::vector<SimulationEvent> events;
    std::istringstream in(report);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::smatch m;
        SimulationEvent e;
        if (std::regex_match(line, m, investment)) {
            e.kind = SimulationEvent::Kind::Investment;
        } else if (std::regex_match(line, m, redemption)) {
            e.kind = SimulationEvent::Kind::Redemption;
            e.gain = std::stod(m[6]) * (m[5] == "lost" ? -1 : 1);
        } else {
            continue;
        }
        e.aspect = static_cast<Aspect>(ChartAspectNumber(m[1]));
        e.orbDegrees = std::stoi(m[2]);
        e.number = std::stoi(m[3]);
        e.day = ChartDay(m[4]);
        events.push_back(e);
    }
    return events;
}

TEST(SimulationChart, CurvesEndAtTheReportsTotalsAndStepAtRedemptions) {
    const std::string report =
        ReadFile(std::string(VLT_SOURCE_DIR) + "/tests/simulation/golden/earth_mars_2007_2014.txt");
    const std::vector<SimulationEvent> events = DetailEvents(report);
    ASSERT_FALSE(events.empty());
    const std::int32_t first = ChartDay("2007-01-03"), last = ChartDay("2014-12-31");
    const ChartModel m = SimulationChart(events, first, last, "");

    // "Gain or loss by aspect for all orbs": redemptions and the total.
    static const std::regex total(R"(^(\w+) +(\d+) +\$(-?[0-9.]+)\r?$)");
    std::map<int, std::pair<int, double>> totals;
    std::istringstream in(report.substr(report.find("Gain or loss by aspect")));
    for (std::string line; std::getline(in, line);) {
        std::smatch t;
        if (std::regex_match(line, t, total)) {
            totals[ChartAspectNumber(t[1])] = {std::stoi(t[2]), std::stod(t[3])};
        }
    }
    ASSERT_EQ(totals.size(), 7u);
    ASSERT_EQ(m.curves.size(), 7u);
    for (const EquityCurve& c : m.curves) {
        const auto [redemptions, gain] = totals.at(c.aspect);
        // The first day at 0, two points per redemption, the last day.
        ASSERT_EQ(c.points.size(), static_cast<std::size_t>(2 + 2 * redemptions));
        EXPECT_EQ(c.points.front().day, first);
        EXPECT_EQ(c.points.front().value, 0.0);
        EXPECT_EQ(c.points.back().day, last);
        // The detail lines show each gain to the cent; their sum may differ
        // from the total by the cents rounded away.
        EXPECT_NEAR(c.points.back().value, gain, 0.005 * redemptions + 0.006)
            << ChartAspectName(c.aspect);
        for (std::size_t i = 1; i + 1 < c.points.size(); i += 2) {
            EXPECT_EQ(c.points[i].day, c.points[i + 1].day);  // a step, not a slope
            EXPECT_LE(c.points[i - 1].day, c.points[i].day);
        }
    }
    std::size_t opens = 0, closes = 0;
    for (const TradeMark& t : m.trades) (t.opens ? opens : closes)++;
    EXPECT_EQ(closes, 132u);
    EXPECT_EQ(opens, static_cast<std::size_t>(
                         std::count_if(events.begin(), events.end(), [](const SimulationEvent& e) {
                             return e.kind == SimulationEvent::Kind::Investment;
                         })));
}

TEST(ChartPrices, OwnValuesOfThePeriodOnly) {
    PriceSeries s;
    s.days = {ChartDay("2024-01-02"), ChartDay("2024-01-03"), ChartDay("2024-01-04"),
              ChartDay("2024-01-05")};
    s.values = {10.0, 0.0, 12.0, 13.0};  // no trading on the 3rd
    const std::vector<ChartPoint> p =
        SeriesPrices(s, ChartDay("2024-01-03"), ChartDay("2024-01-04"));
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(ChartDateText(p[0].day), "2024-01-04");
    EXPECT_EQ(p[0].value, 12.0);

    IndexData index;
    index.lines = {"", "2007-01-03,12474.52", "2007-01-04", "2007-01-05,12398.01"};
    index.count = 3;
    const std::vector<ChartPoint> q = IndexPrices(index, 0, 9999999);
    ASSERT_EQ(q.size(), 2u);
    EXPECT_EQ(q[1].value, 12398.01);
}

}  // namespace
}  // namespace vlt

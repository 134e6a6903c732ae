// Transit reports of pairs with the Moon, computed with the program's own
// positions, against the Swiss Ephemeris: every exact minimum within a
// minute of the oracle's, every orb date on the oracle's day of crossing.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/engine/oracle_scan.h"

namespace vlt::testing {
namespace {

class MoonOracle : public DataFolderScan<YearsScan> {};

TEST_P(MoonOracle, ExactMinimaWithinAMinuteOfTheOracle) {
    const YearsScan& c = GetParam();
    const auto rows = ScannedRows(c);
    const OracleFigures fig = CheckReportAgainstOracle(rows, ContextOf(c));
    std::printf("%s: %zu rows; %s\n", c.name, rows.size(), fig.Summary().c_str());
    for (const std::string& f : fig.failures) ADD_FAILURE() << f;
    // Every transit of the Moon passes its aspect exactly: about one a month
    // per aspect angle on either side, so no year has fewer than 130.
    const int years = c.toYear - c.fromYear + 1;
    EXPECT_GT(fig.exactMinima, 130 * years);
    // To the minute: the reported minute is the oracle's, rounded either way.
    EXPECT_LE(fig.largestMinimumMinutes, 1.0);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, MoonOracle,
    ::testing::Values(YearsScan{"SunMoon2024", kSun, kMoon, 2024, 2024, {10, 5, 2}},
                      YearsScan{"SunMoon1705NarrowestOrbs", kSun, kMoon, 1705, 1705, {3, 2, 1}},
                      YearsScan{"MoonMercury2290", kMoon, kMercury, 2290, 2290, {10, 5, 2}},
                      YearsScan{"MoonMars1850", kMoon, kMars, 1850, 1850, {15, 8, 1}},
                      YearsScan{"MoonNeptune2150", kMoon, kNeptune, 2150, 2150, {10, 5, 2}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vlt::testing

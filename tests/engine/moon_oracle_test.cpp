// Transit reports of pairs with the Moon, computed with the program's own
// positions, against the Swiss Ephemeris: every exact minimum within a
// minute of the oracle's, every orb date on the oracle's day of crossing.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/engine/transit_scan.h"
#include "app/positions/positions.h"
#include "app/positions/vocabulary.h"
#include "app/support/date_processing.h"
#include "tests/common/data_folder.h"
#include "tests/common/fake_run_host.h"
#include "tests/engine/oracle_check.h"

namespace vlt::testing {
namespace {

// Keeps the whole report: a year of lunar transits outgrows the box.
class KeepingOutput final : public OutputBox {
public:
    const std::string& Text() const override { return shown; }
    void Append(const std::string& piece) override {
        all += piece;
        shown = all.empty() ? "" : "x";
    }
    void Clear() override { shown.clear(); }
    void MoveCaretToEnd() override {}
    void Refresh() override {}
    std::string all, shown;
};

class KeepingHost final : public FakeRunHost {
public:
    OutputBox& Output() override { return out; }
    KeepingOutput out;
};

struct MoonCase {
    const char* name;
    std::int16_t first, second;
    int fromYear, toYear;  // whole years
    std::array<std::int16_t, 3> orbs;
};

class MoonOracle : public ::testing::TestWithParam<MoonCase> {};

TEST_P(MoonOracle, ExactMinimaWithinAMinuteOfTheOracle) {
    const MoonCase& c = GetParam();
    const std::string folder = DataFolderWithFiles();
    if (folder.empty()) GTEST_SKIP() << "outer-planet data files not built";
    InitPositionsWithFolder(folder);

    TransitRequest r;
    r.firstPlanet = c.first;
    r.secondPlanet = c.second;
    for (int a = 1; a <= 7; ++a) r.aspectEnabled[static_cast<std::size_t>(a)] = true;
    r.orbDegrees = c.orbs;
    DateRecord from{c.fromYear, 1, 1, kCalendarGregorian, 0, 0};
    DateRecord to{c.toYear, 12, 31, kCalendarGregorian, 0, 0};
    r.startDay = DateToDayNumber(from);
    r.endDay = DateToDayNumber(to);
    r.reportTitle = c.name;
    CompleteRequest(r);

    KeepingHost host;
    TransitScanner scanner(host, DefaultPositions());
    ASSERT_EQ(scanner.TransitScan(r), ScanEnd::Completed);
    const auto rows = TransitRows(host.out.all);

    ReportContext ctx{c.first, c.second, false, true, ScanStep(c.first, c.second), {}, {}};
    ctx.orbs = {c.orbs[0], c.orbs[1], c.orbs[2]};
    for (int a = 1; a <= 7; ++a) {
        ctx.aspectDegrees[AspectNames[static_cast<std::size_t>(a)].name] =
            AspectAngles[static_cast<std::size_t>(a)] * 360.0 / kTwoPi;
    }
    const OracleFigures fig = CheckReportAgainstOracle(rows, ctx);
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
    ::testing::Values(MoonCase{"SunMoon2024", kSun, kMoon, 2024, 2024, {10, 5, 2}},
                      MoonCase{"SunMoon1705NarrowestOrbs", kSun, kMoon, 1705, 1705, {3, 2, 1}},
                      MoonCase{"MoonMercury2290", kMoon, kMercury, 2290, 2290, {10, 5, 2}},
                      MoonCase{"MoonMars1850", kMoon, kMars, 1850, 1850, {15, 8, 1}},
                      MoonCase{"MoonNeptune2150", kMoon, kNeptune, 2150, 2150, {10, 5, 2}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vlt::testing

// Transit reports computed with the program's own positions, checked over
// 1950-2050 against the Swiss Ephemeris.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/engine/transit_scan.h"
#include "app/positions/positions.h"
#include "app/positions/vocabulary.h"
#include "app/support/date_processing.h"
#include "tests/common/data_folder.h"
#include "tests/common/fake_run_host.h"
#include "tests/engine/fake_host.h"
#include "tests/engine/oracle_check.h"

namespace vlt::testing {
namespace {

// Keeps every line but lets the box look nearly empty, so that a century of
// transits is not cut at the box's size limit.
class ArchiveOutput final : public OutputBox {
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

class ArchiveHost final : public FakeRunHost {
public:
    ArchiveHost() { startCaption = "Pause"; }
    OutputBox& Output() override { return out; }
    MessageBoxes& Boxes() override { return boxes; }
    ArchiveOutput out;
    ScriptedBoxes boxes;
};

struct OracleCase {
    const char* name;
    std::int16_t first, second;
    bool heliocentric;
};

class OracleScan : public ::testing::TestWithParam<OracleCase> {};

TEST_P(OracleScan, Century1950To2050AgreesWithTheOracle) {
    const OracleCase& c = GetParam();
    const std::string folder = DataFolderWithFiles();
    if (folder.empty()) GTEST_SKIP() << "outer-planet data files not built";
    InitPositionsWithFolder(folder);

    TransitRequest r;
    r.firstPlanet = c.first;
    r.secondPlanet = c.second;
    r.heliocentric = c.heliocentric;
    for (int a = 1; a <= 7; ++a) r.aspectEnabled[static_cast<std::size_t>(a)] = true;
    r.orbDegrees = {10, 5, 2};
    DateRecord from{1950, 1, 1, kCalendarGregorian, 0, 0};
    DateRecord to{2050, 12, 31, kCalendarGregorian, 0, 0};
    r.startDay = DateToDayNumber(from);
    r.endDay = DateToDayNumber(to);
    r.reportTitle = c.name;
    CompleteRequest(r);

    ArchiveHost host;
    TransitScanner scanner(host, DefaultPositions());
    ASSERT_EQ(scanner.TransitScan(r), ScanEnd::Completed);
    const auto rows = TransitRows(host.out.all);
    ASSERT_GT(rows.size(), 20u);

    ReportContext ctx{
        c.first, c.second,  c.heliocentric, !c.heliocentric, ScanStep(c.first, c.second),
        {},      {10, 5, 2}};
    for (int a = 1; a <= 7; ++a) {
        ctx.aspectDegrees[AspectNames[static_cast<std::size_t>(a)].name] =
            AspectAngles[static_cast<std::size_t>(a)] * 360.0 / kTwoPi;
    }
    const OracleFigures fig = CheckReportAgainstOracle(rows, ctx);
    std::printf("%s: %zu rows; %s\n", c.name, rows.size(), fig.Summary().c_str());
    EXPECT_GT(fig.exactMinima, 10);
    for (const std::string& f : fig.failures) ADD_FAILURE() << f;
}

INSTANTIATE_TEST_SUITE_P(Pairs, OracleScan,
                         ::testing::Values(OracleCase{"MarsJupiter", kMars, kJupiter, false},
                                           OracleCase{"VenusSaturn", kVenus, kSaturn, false},
                                           OracleCase{"SunMercury", kSun, kMercury, false},
                                           OracleCase{"EarthMarsHeliocentric", kSun, kMars, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vlt::testing

namespace vlt::testing {
namespace {

// The check itself must notice a report that is off: a minimum an hour
// late, an orb date two days late, a lost retrograde marker.
TEST(OracleCheck, NoticesAlteredReports) {
    InitPositionsWithFolder(std::string(VLT_SOURCE_DIR) + "/data/");
    std::ifstream in(std::string(VLT_SOURCE_DIR) +
                     "/tests/engine/golden/geocentric_mercury_venus_2024.txt");
    std::string text, line;
    while (std::getline(in, line)) text += line + "\r\n";
    const std::vector<Cells> rows = TransitRows(text);
    ASSERT_GT(rows.size(), 3u);
    ReportContext ctx{kMercury, kVenus, false, true, 0.125, {}, {10, 5, 2}};
    for (int a = 1; a <= 7; ++a) {
        ctx.aspectDegrees[AspectNames[static_cast<std::size_t>(a)].name] =
            AspectAngles[static_cast<std::size_t>(a)] * 360.0 / kTwoPi;
    }
    ASSERT_TRUE(CheckReportAgainstOracle(rows, ctx).failures.empty());

    auto late = rows;  // an hour later: "02:01" -> "03:01" in the first row
    ASSERT_EQ(late[0][8].substr(0, 5), "02:01");
    late[0][8][1] = '3';
    EXPECT_EQ(CheckReportAgainstOracle(late, ctx).failures.size(), 1u);

    auto shifted = rows;  // start of the middle orb two days late
    ASSERT_EQ(shifted[0][2], "2024-02-28");
    shifted[0][2] = "2024-03-01";
    EXPECT_EQ(CheckReportAgainstOracle(shifted, ctx).failures.size(), 1u);

    auto unmarked = rows;  // Mercury retrograde on 2024-04-20
    ASSERT_EQ(unmarked[2][5], "2024-04-20r");
    unmarked[2][5] = "2024-04-20";
    EXPECT_EQ(CheckReportAgainstOracle(unmarked, ctx).failures.size(), 1u);
}

}  // namespace
}  // namespace vlt::testing

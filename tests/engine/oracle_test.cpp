// Transit reports computed with the program's own positions, checked over
// 1950-2050 against the Swiss Ephemeris.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/engine/oracle_scan.h"

namespace vlt::testing {
namespace {

class OracleScan : public DataFolderScan<YearsScan> {};

TEST_P(OracleScan, Century1950To2050AgreesWithTheOracle) {
    const YearsScan& c = GetParam();
    const auto rows = ScannedRows(c);
    ASSERT_GT(rows.size(), 20u);
    const OracleFigures fig = CheckReportAgainstOracle(rows, ContextOf(c));
    std::printf("%s: %zu rows; %s\n", c.name, rows.size(), fig.Summary().c_str());
    EXPECT_GT(fig.exactMinima, 10);
    for (const std::string& f : fig.failures) ADD_FAILURE() << f;
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, OracleScan,
    ::testing::Values(YearsScan{"MarsJupiter", kMars, kJupiter, 1950, 2050, {10, 5, 2}},
                      YearsScan{"VenusSaturn", kVenus, kSaturn, 1950, 2050, {10, 5, 2}},
                      YearsScan{"SunMercury", kSun, kMercury, 1950, 2050, {10, 5, 2}},
                      YearsScan{
                          "EarthMarsHeliocentric", kSun, kMars, 1950, 2050, {10, 5, 2}, true}),
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
    const ReportContext ctx{kMercury, kVenus, false, true, 0.125, EveryAspectDegrees(), {10, 5, 2}};
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

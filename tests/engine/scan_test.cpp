// The transit scan driven by constructed separations whose orb crossings and
// minima are known in advance.  Expected dates follow from the profiles by
// hand: the scan reports an event in the step whose later sample (t + step)
// is the first one past the crossing, dated by the day that sample falls in.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/engine/report_lines.h"
#include "app/engine/transit_scan.h"
#include "app/positions/positions.h"
#include "app/positions/vocabulary.h"
#include "tests/engine/fake_host.h"
#include "tests/engine/profile_positions.h"
#include "tests/engine/report_parsing.h"

namespace vlt::testing {
namespace {

constexpr std::int32_t S = 2451545;  // 2000-01-01

class ScanTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitPositionsWithFolder(VLT_BIN_DIR "/"); }
};

struct Knot {
    double offset;  // days after noon of 2000-01-01 (universal time)
    double degrees;
};

struct ProfileCase {
    const char* name;
    std::vector<Knot> knots;
    std::array<std::int16_t, 3> orbs;
    std::vector<int> aspects;
    std::int32_t endOffset;
    int timezoneIndex;
    const char* timezoneLabel;
    bool heliocentric;
    // Universal times (offsets) between which the first planet is retrograde.
    double retroFrom, retroTo;
    std::vector<Cells> expected;
};

TransitRequest MakeRequest(std::int16_t first, std::int16_t second,
                           std::array<std::int16_t, 3> orbs, const std::vector<int>& aspects,
                           std::int32_t startDay, std::int32_t endDay) {
    TransitRequest r;
    r.firstPlanet = first;
    r.secondPlanet = second;
    r.orbDegrees = orbs;
    for (int a : aspects) r.aspectEnabled[static_cast<std::size_t>(a)] = true;
    r.startDay = startDay;
    r.endDay = endDay;
    r.reportTitle = "Constructed transits";
    CompleteRequest(r);
    return r;
}

std::vector<std::pair<double, double>> Absolute(const std::vector<Knot>& knots) {
    std::vector<std::pair<double, double>> out;
    for (const Knot& k : knots) out.push_back({S + k.offset, k.degrees});
    return out;
}

const std::vector<Knot> kThreePasses = {{0.1, 13}, {13.1, 0},   {17.1, 4}, {21.1, 0},
                                        {25.1, 4}, {28.6, 0.5}, {45.1, 17}};

const ProfileCase kCases[] = {
    {"StartsInsideAllOrbsExact",
     {{-20, 21.1}, {1.1, 0}, {30, 28.9}},
     {10, 5, 2},
     {1},
     40,
     24,
     "GMT",
     false,
     0,
     0,
     {{"Conjunction", "", "", "", "2000-01-02*", "2000-01-04", "2000-01-07", "2000-01-12",
       "14:24 GMT"}}},
    {"StartsInsideRunningMinimumFromFirstStep",
     {{-1, 0.45}, {20, 21.45}},
     {10, 5, 2},
     {1},
     30,
     24,
     "GMT",
     false,
     0,
     0,
     {{"Conjunction", "", "", "", "2000-01-01", "2000-01-02", "2000-01-05", "2000-01-10",
       "1\xC2\xB0"
       "12'"}}},
    {"ExactMinimumCrossesMidnightInLocalTime",
     {{-20, 21.5 - 1.0 / 48}, {1.5 - 1.0 / 48, 0}, {30, 28.5 + 1.0 / 48}},
     {10, 5, 2},
     {1},
     40,
     26,
     "GMT+1:00",
     false,
     0,
     0,
     {{"Conjunction", "", "", "", "2000-01-03*", "2000-01-05", "2000-01-08", "2000-01-13",
       "00:30 GMT+1:00"}}},
    {"RetrogradeLoopThreeInnerPasses",
     kThreePasses,
     {10, 5, 2},
     {1},
     50,
     24,
     "GMT",
     false,
     0,
     0,
     {{"Conjunction", "2000-01-04", "2000-01-09", "2000-01-12", "2000-01-14*", "2000-01-16",
       "2000-02-03", "2000-02-08", "14:24 GMT"},
      {"", "", "", "2000-01-20", "2000-01-22*", "2000-01-24", "", "", "14:24 GMT"},
      {"", "", "", "2000-01-28", "2000-01-30", "2000-01-31", "", "",
       "0\xC2\xB0"
       "36'"}}},
    {"RetrogradeMarkersOnTheMiddlePass",
     kThreePasses,
     {10, 5, 2},
     {1},
     50,
     24,
     "GMT",
     false,
     18,
     24,
     {{"Conjunction", "2000-01-04", "2000-01-09", "2000-01-12", "2000-01-14*", "2000-01-16",
       "2000-02-03", "2000-02-08", "14:24 GMT"},
      {"", "", "", "2000-01-20r", "2000-01-22*r", "2000-01-24r", "", "", "14:24 GMT"},
      {"", "", "", "2000-01-28", "2000-01-30", "2000-01-31", "", "",
       "0\xC2\xB0"
       "36'"}}},
    {"HeliocentricNeverMarksRetrograde",
     kThreePasses,
     {10, 5, 2},
     {1},
     50,
     24,
     "GMT",
     true,
     18,
     24,
     {{"Conjunction", "2000-01-04", "2000-01-09", "2000-01-12", "2000-01-14*", "2000-01-16",
       "2000-02-03", "2000-02-08", "14:24 GMT"},
      {"", "", "", "2000-01-20", "2000-01-22*", "2000-01-24", "", "", "14:24 GMT"},
      {"", "", "", "2000-01-28", "2000-01-30", "2000-01-31", "", "",
       "0\xC2\xB0"
       "36'"}}},
    {"FifteenDegreeOrbHandsOverInTheSameStep",
     {{-10, 60.1}, {50.1, 0}, {80, 29.9}},
     {15, 10, 5},
     {1, 6},
     60,
     24,
     "GMT",
     false,
     0,
     0,
     {{"Semisextile", "2000-01-06", "2000-01-11", "2000-01-16", "2000-01-21*", "2000-01-26",
       "2000-01-31", "2000-02-05", "14:24 GMT"},
      {"Conjunction", "2000-02-05", "2000-02-10", "2000-02-15", "2000-02-20*", "2000-02-25",
       "2000-03-01", "", "14:24 GMT"}}},
    {"FourteenDegreeOrbLosesTheNeighboursEntry",
     {{-10, 60.1}, {50.1, 0}, {80, 29.9}},
     {14, 10, 5},
     {1, 6},
     60,
     24,
     "GMT",
     false,
     0,
     0,
     {{"Semisextile", "2000-01-07", "2000-01-11", "2000-01-16", "2000-01-21*", "2000-01-26",
       "2000-01-31", "2000-02-04", "14:24 GMT"},
      {"Conjunction", "2000-02-06", "2000-02-10", "2000-02-15", "2000-02-20*", "2000-02-25",
       "2000-03-01", "", "14:24 GMT"}}},
};

class ProfileScan : public ScanTest, public ::testing::WithParamInterface<ProfileCase> {};

TEST_P(ProfileScan, ReportsTheConstructedTransits) {
    const ProfileCase& c = GetParam();
    ProfilePositions positions(kMars, Absolute(c.knots));
    if (c.retroTo > c.retroFrom) {
        positions.retrograde = [&c](double jd) {
            return jd > S + c.retroFrom && jd < S + c.retroTo;
        };
    }
    FakeRunHost host;
    TransitScanner scanner(host, positions);
    TransitRequest r = MakeRequest(kMars, kJupiter, c.orbs, c.aspects, S, S + c.endOffset);
    r.timezoneIndex = c.timezoneIndex;
    r.timezoneLabel = c.timezoneLabel;
    r.heliocentric = c.heliocentric;

    EXPECT_EQ(scanner.TransitScan(r), ScanEnd::Completed);

    const std::vector<Cells> rows = TransitRows(host.output.text);
    ASSERT_EQ(rows.size(), c.expected.size()) << host.output.text;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (std::size_t col = 0; col < 9; ++col) {
            EXPECT_EQ(rows[i][col], c.expected[i][col]) << "row " << i << " column " << col;
        }
    }
    if (c.heliocentric) {
        EXPECT_TRUE(positions.retrogradeQueries.empty());
    }
    EXPECT_TRUE(positions.lastHeliocentric == c.heliocentric);
    ASSERT_EQ(host.notices.size(), 1u);
    EXPECT_EQ(host.notices[0], "Done");
    EXPECT_EQ(host.busyEntered, 1);
    EXPECT_EQ(host.busyLeft, 1);
    EXPECT_TRUE(host.appendVisible);
    // Progress runs from the start to the end of the period, never back.
    ASSERT_GE(host.progress.size(), 2u);
    EXPECT_EQ(host.progress.front(), 0.0);
    EXPECT_EQ(host.progress.back(), 1.0);
    EXPECT_TRUE(std::is_sorted(host.progress.begin(), host.progress.end()));
}

INSTANTIATE_TEST_SUITE_P(Profiles, ProfileScan, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The header rows come once, before the first transit row, in the report's
// order: hyphens, title, headings, hyphens.
TEST_F(ScanTest, HeaderPrecedesTheFirstRowOnce) {
    ProfilePositions positions(kMars, Absolute(kThreePasses));
    FakeRunHost host;
    TransitScanner scanner(host, positions);
    scanner.TransitScan(MakeRequest(kMars, kJupiter, {10, 5, 2}, {1}, S, S + 50));
    const std::vector<std::string> lines = SplitLines(host.output.text);
    ASSERT_GE(lines.size(), 7u);
    EXPECT_EQ(lines[0], std::string(119, '-'));
    EXPECT_EQ(lines[1], "Constructed transits");
    EXPECT_EQ(lines[2],
              "Aspect      | Start 10\xC2\xB0   Start 5\xC2\xB0    Start 2\xC2\xB0    | "
              "Minimum at  | End 2\xC2\xB0      End 5\xC2\xB0      End 10\xC2\xB0     | Minimum");
    EXPECT_EQ(lines[3], std::string(119, '-'));
    EXPECT_EQ(lines[4],
              "Conjunction | 2000-01-04  2000-01-09  2000-01-12  | 2000-01-14* | "
              "2000-01-16  2000-02-03  2000-02-08  | 14:24 GMT");
    EXPECT_EQ(lines.back(), "");  // the last row ends with CR LF
    std::size_t rules = 0;
    for (const auto& l : lines) rules += l == std::string(119, '-');
    EXPECT_EQ(rules, 2u);
}

// Two transits of the same aspect in a row: the second shows no aspect name.
TEST_F(ScanTest, RepeatedAspectNameIsShownOnce) {
    ProfilePositions positions(
        kMars, {{S - 10, 30}, {S + 20.1, 0}, {S + 40.1, 20}, {S + 60.1, 0}, {S + 90, 29.9}});
    FakeRunHost host;
    TransitScanner scanner(host, positions);
    scanner.TransitScan(MakeRequest(kMars, kJupiter, {10, 5, 2}, {1}, S, S + 80));
    const auto rows = TransitRows(host.output.text);
    ASSERT_EQ(rows.size(), 2u) << host.output.text;
    EXPECT_EQ(rows[0][0], "Conjunction");
    EXPECT_EQ(rows[1][0], "");
    EXPECT_EQ(rows[1][4], "2000-03-01*");
}

struct StepCase {
    std::int16_t first, second;
    double step;
};

class StepScan : public ScanTest, public ::testing::WithParamInterface<StepCase> {};

// Each later step asks for one new position per planet, one step ahead.
TEST_P(StepScan, AsksOneNewPositionPerPlanetAndStep) {
    const StepCase c = GetParam();
    EXPECT_EQ(ScanStep(c.first, c.second), c.step);
    ProfilePositions positions(c.first, {{S, 105}, {S + 10, 105}});
    FakeRunHost host;
    host.boxes.Expect("There are no transits of this kind in the period specified.");
    TransitScanner scanner(host, positions);
    scanner.TransitScan(
        MakeRequest(c.first, c.second, {10, 5, 2}, {1, 2, 3, 4, 5, 6, 7}, S, S + 10));
    const double span = 10.5;  // 06:00 of the first day to 18:00 of the last
    const auto steps = static_cast<std::size_t>(span / c.step) + 1;
    ASSERT_EQ(positions.calls.size(), 2 * (steps + 2));
    // First step: three samples per planet, first planet first.
    for (int s = 0; s < 3; ++s) {
        EXPECT_EQ(positions.calls[static_cast<std::size_t>(s)].first, c.first);
        EXPECT_DOUBLE_EQ(positions.calls[static_cast<std::size_t>(s)].second,
                         S - 0.25 + (s - 1) * c.step);
        EXPECT_EQ(positions.calls[static_cast<std::size_t>(3 + s)].first, c.second);
    }
    for (std::size_t i = 6; i < positions.calls.size(); i += 2) {
        const std::size_t k = (i - 6) / 2 + 1;
        EXPECT_EQ(positions.calls[i].first, c.first);
        EXPECT_EQ(positions.calls[i + 1].first, c.second);
        EXPECT_DOUBLE_EQ(positions.calls[i].second,
                         S - 0.25 + (static_cast<double>(k) + 1) * c.step);
    }
    EXPECT_EQ(host.yields, static_cast<long>(steps));
}

INSTANTIATE_TEST_SUITE_P(
    Steps, StepScan,
    ::testing::Values(StepCase{kMercury, kJupiter, 0.125}, StepCase{kSun, kMercury, 0.125},
                      StepCase{kVenus, kJupiter, 0.25}, StepCase{kSun, kSaturn, 0.25},
                      StepCase{kMars, kPluto, 0.25}, StepCase{kJupiter, kSaturn, 0.5},
                      StepCase{kUranus, kPluto, 0.5}));

// Positions are asked at universal time: local step time minus the zone.
TEST_F(ScanTest, PositionsAreAskedAtUniversalTime) {
    ProfilePositions positions(kJupiter, {{S, 105}, {S + 10, 105}});
    FakeRunHost host;
    host.boxes.Expect("There are no transits of this kind in the period specified.");
    TransitScanner scanner(host, positions);
    TransitRequest r = MakeRequest(kJupiter, kSaturn, {10, 5, 2}, {1}, S, S + 10);
    r.timezoneIndex = 14;  // GMT-5:00
    scanner.TransitScan(r);
    ASSERT_FALSE(positions.calls.empty());
    EXPECT_DOUBLE_EQ(positions.calls[1].second, S - 0.25 + 5.0 / 24);
}

// Pausing and answering No leaves the report exactly as an undisturbed run.
TEST_F(ScanTest, StopAnsweredNoContinuesWhereItWas) {
    FakeRunHost plain;
    ProfilePositions p1(kMars, Absolute(kThreePasses));
    TransitScanner(plain, p1).TransitScan(MakeRequest(kMars, kJupiter, {10, 5, 2}, {1}, S, S + 50));

    FakeRunHost paused;
    ProfilePositions p2(kMars, Absolute(kThreePasses));
    paused.onYield = [&paused](long n) {
        if (n == 60 || n == 61 || n == 150) paused.control.RequestPause();
    };
    paused.boxes.Expect("Stop?", MsgResult::No);
    paused.boxes.Expect("Stop?", MsgResult::No);
    paused.boxes.Expect("Stop?", MsgResult::No);
    EXPECT_EQ(TransitScanner(paused, p2)
                  .TransitScan(MakeRequest(kMars, kJupiter, {10, 5, 2}, {1}, S, S + 50)),
              ScanEnd::Completed);
    EXPECT_EQ(paused.output.text, plain.output.text);
    EXPECT_EQ(p2.calls, p1.calls);
    EXPECT_FALSE(paused.control.PauseRequested());
    ASSERT_EQ(paused.boxes.shown.size(), 3u);
    EXPECT_EQ(paused.boxes.shown[0].title, "Pause");
    EXPECT_EQ(paused.boxes.shown[0].buttons, MsgButtons::YesNo);
}

TEST_F(ScanTest, QuitDuringTheRunEndsItWithoutAsking) {
    FakeRunHost host;
    ProfilePositions positions(kMars, Absolute(kThreePasses));
    host.onYield = [&host](long n) {
        if (n == 100) host.control.Quit();  // inside the first transit
    };
    TransitScanner scanner(host, positions);
    EXPECT_EQ(scanner.TransitScan(MakeRequest(kMars, kJupiter, {10, 5, 2}, {1}, S, S + 50)),
              ScanEnd::Stopped);
    EXPECT_EQ(host.yields, 100);
    EXPECT_TRUE(host.boxes.shown.empty());  // no "Stop?"
    EXPECT_FALSE(host.control.Running());
}

TEST_F(ScanTest, StopAnsweredYesAppendsStopped) {
    FakeRunHost host;
    ProfilePositions positions(kMars, Absolute(kThreePasses));
    host.onYield = [&host](long n) {
        if (n == 100) host.control.RequestPause();  // inside the first transit
    };
    host.boxes.Expect("Stop?", MsgResult::Yes);
    TransitScanner scanner(host, positions);
    EXPECT_EQ(scanner.TransitScan(MakeRequest(kMars, kJupiter, {10, 5, 2}, {1}, S, S + 50)),
              ScanEnd::Stopped);
    EXPECT_EQ(host.yields, 100);
    // No step after the answer: the 99th step's later sample is the last.
    double latest = 0;
    for (const auto& call : positions.calls) latest = std::max(latest, call.second);
    EXPECT_EQ(latest, S - 0.25 + 99 * 0.25);
    const std::string& text = host.output.text;
    ASSERT_GE(text.size(), 9u);
    EXPECT_EQ(text.substr(text.size() - 9), "\r\nStopped");
    EXPECT_TRUE(TransitRows(text).empty());  // the transit under way is not written
    EXPECT_FALSE(host.control.PauseRequested());
    EXPECT_FALSE(host.control.StopRequested());  // only a show-all series is ended by it
    EXPECT_EQ(host.startCaption, "Mars and Jupiter");
    EXPECT_TRUE(host.notices.empty());
    EXPECT_EQ(host.busyLeft, 1);
}

TEST_F(ScanTest, NothingFoundLeavesEmptyOutputAndShrinks) {
    FakeRunHost host;
    host.appendChecked = true;
    ProfilePositions positions(kMars, {{S, 45}, {S + 1, 45}});
    host.boxes.Expect("There are no transits of this kind in the period specified.");
    TransitScanner scanner(host, positions);
    EXPECT_EQ(scanner.TransitScan(MakeRequest(kMars, kJupiter, {10, 5, 2}, {1}, S, S + 30)),
              ScanEnd::NothingFound);
    ASSERT_EQ(host.boxes.shown.size(), 1u);
    EXPECT_EQ(host.boxes.shown[0].title, "Not found");
    EXPECT_EQ(host.boxes.shown[0].icon, MsgIcon::Information);
    EXPECT_TRUE(host.output.text.empty());
    EXPECT_FALSE(host.appendChecked);
    EXPECT_EQ(host.shrunk, 1);
    EXPECT_FALSE(host.appendVisible);
    EXPECT_TRUE(host.notices.empty());
}

// An unchecked append box empties the output; a checked one separates the
// new report from the old text by a line break.
TEST_F(ScanTest, AppendSettingDecidesOverPreviousOutput) {
    for (bool append : {false, true}) {
        FakeRunHost host;
        host.appendChecked = append;
        host.output.text = "earlier report\r\n";
        ProfilePositions positions(kMars, Absolute(kThreePasses));
        TransitScanner(host, positions)
            .TransitScan(MakeRequest(kMars, kJupiter, {10, 5, 2}, {1}, S, S + 50));
        if (append) {
            EXPECT_EQ(host.output.text.rfind("earlier report\r\n\r\n---", 0), 0u);
        } else {
            EXPECT_EQ(host.output.text.rfind("---", 0), 0u);
        }
    }
}

// Past 64000 characters no row is written: the box says so, the scan asks
// "Stop?" at its next step.  Characters count, not bytes.
TEST_F(ScanTest, FullOutputBoxStopsTheRows) {
    struct Case {
        std::string previous;
        std::size_t rowsBeforeFull;
    };
    std::string degrees;
    for (int i = 0; i < 63990; ++i) degrees += "\xC2\xB0";
    // The preparation adds a line break (2 characters) to the old text.
    const Case cases[] = {{std::string(63999, 'x'), 0}, {std::string(63998, 'x'), 1}, {degrees, 1}};
    for (const Case& c : cases) {
        FakeRunHost host;
        host.appendChecked = true;
        host.output.text = c.previous;
        ProfilePositions positions(kMars, Absolute(kThreePasses));
        host.boxes.Expect("Output textbox is full.");
        host.boxes.Expect("Stop?", MsgResult::Yes);
        const ScanEnd end =
            TransitScanner(host, positions)
                .TransitScan(MakeRequest(kMars, kJupiter, {10, 5, 2}, {1}, S, S + 50));
        const std::string added = host.output.text.substr(c.previous.size());
        EXPECT_EQ(end, ScanEnd::Stopped);
        EXPECT_EQ(TransitRows(added).size(), c.rowsBeforeFull);
        const std::string tail = "Textbox is full -- \r\nStopped";
        ASSERT_GE(added.size(), tail.size());
        EXPECT_EQ(added.substr(added.size() - tail.size()), tail);
        if (c.rowsBeforeFull == 0) {
            EXPECT_EQ(added, "\r\n" + tail);
        }
        ASSERT_FALSE(host.boxes.shown.empty());
        EXPECT_EQ(host.boxes.shown[0].title, "Veltaro 1.0");
        EXPECT_EQ(host.boxes.shown[0].icon, MsgIcon::Exclamation);
    }
}

// A run with far more transits than the estimated rows grows its table.
TEST_F(ScanTest, LongMercuryRunGrowsTheTable) {
    FakeRunHost host;
    ProfilePositions positions(kMercury, {});
    positions.separation = [](double jd) {
        return 90.0 + 90.0 * std::sin((jd - S) * 2 * kPi / 9.0);
    };
    TransitScanner scanner(host, positions);
    const std::int32_t end = S + 300;
    EXPECT_EQ(scanner.TransitScan(
                  MakeRequest(kMercury, kVenus, {4, 2, 1}, {1, 2, 3, 4, 5, 6, 7}, S, end)),
              ScanEnd::Completed);
    const auto rows = TransitRows(host.output.text);
    EXPECT_GT(static_cast<std::int32_t>(rows.size()), EstimatedTableRows(S, end, false));
    EXPECT_GT(scanner.Table().RowCount(), EstimatedTableRows(S, end, false) + 1);
}

TEST(EstimatedRows, EightRowsPer58DaysWithinBounds) {
    EXPECT_EQ(EstimatedTableRows(S, S + 100, true), 100);
    EXPECT_EQ(EstimatedTableRows(S, S + 100, false), 200);
    EXPECT_EQ(EstimatedTableRows(S, S + 57 * 30 - 1 + 30, false), 240);  // 1740 days
    EXPECT_EQ(EstimatedTableRows(S, S + 1746, false), 241);              // 240.97
    EXPECT_EQ(EstimatedTableRows(S, S + 1742, false), 240);              // 240.41
    EXPECT_EQ(EstimatedTableRows(S - 400000, S, false), 32760);
}

}  // namespace
}  // namespace vlt::testing

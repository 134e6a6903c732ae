// The Start, Search and Show-all commands on typed requests.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/engine/transit_commands.h"
#include "app/positions/position_failure.h"
#include "app/positions/positions.h"
#include "app/positions/request_rules.h"
#include "app/positions/vocabulary.h"
#include "tests/engine/fake_host.h"
#include "tests/engine/profile_positions.h"
#include "tests/engine/report_parsing.h"

namespace vlt::testing {
namespace {

constexpr std::int32_t S = 2451545;  // 2000-01-01

// One conjunction pass: exact at S + 13.1, inner orb (2°) S + 11.1 .. S + 15.1.
std::vector<std::pair<double, double>> OnePass() {
    return {{S + 0.1, 13}, {S + 13.1, 0}, {S + 26.1, 13}};
}

class CommandsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitPositionsWithFolder(VLT_BIN_DIR "/"); }

    CommandsTest() : positions(kMars, OnePass()), commands(host, positions) {
        window.day[0] = S;
        window.day[1] = S + 40;
        AssumePlutoTables(commands);
    }

    FakeRunHost host;
    ProfilePositions positions;
    FakeWindow window;
    TransitCommands commands;
};

TEST_F(CommandsTest, StartRunsTheScanWithTheWindowsChoices) {
    window.inputs.aspectChecked = {true, false, true, false, false, false, false};
    window.inputs.orbIndex = {7, 3, 0, 3};  // 8°, 4°, 1°
    window.inputs.timezoneIndex = 26;
    window.inputs.timezoneText = "GMT+1:00";
    commands.Start(window.Tables());
    ASSERT_TRUE(commands.ScanRan());
    const TransitRequest& r = commands.LastRequest();
    EXPECT_EQ(r.firstPlanet, kMars);
    EXPECT_EQ(r.secondPlanet, kJupiter);
    EXPECT_EQ(r.orbDegrees, (std::array<std::int16_t, 3>{8, 4, 1}));
    EXPECT_DOUBLE_EQ(r.orb[0], 8 * kTwoPi / 360);
    EXPECT_FALSE(r.orbSwitch);
    EXPECT_TRUE(r.aspectEnabled[kConjunction]);
    EXPECT_FALSE(r.aspectEnabled[kOpposition]);
    EXPECT_TRUE(r.aspectEnabled[kSquare]);
    EXPECT_EQ(r.TimezoneMinutes(), 60);
    EXPECT_EQ(r.startDay, S);
    EXPECT_EQ(r.endDay, S + 40);
    EXPECT_EQ(r.reportTitle,
              "Geocentric transits for Mars and Jupiter from January 1, 2000, to February 10, "
              "2000 ('r' = Mars retrograde)");
    EXPECT_EQ(host.geometryApplied, 1);
    EXPECT_EQ(TransitRows(host.output.text).size(), 1u);
}

TEST_F(CommandsTest, FifteenDegreeOuterOrbTurnsTheSwitchOn) {
    window.inputs.orbIndex = {14, 9, 4, 3};
    commands.Start(window.Tables());
    ASSERT_TRUE(commands.ScanRan());
    EXPECT_TRUE(commands.LastRequest().orbSwitch);
}

// Each refusal shows its message and runs nothing.
struct Refusal {
    const char* name;
    std::function<void(FakeWindow&)> setUp;
    std::string text;
    std::string title;
    MsgIcon icon;
};

class StartRefusal : public CommandsTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(StartRefusal, ShowsItsMessageAndRunsNothing) {
    const Refusal& c = GetParam();
    c.setUp(window);
    host.boxes.Expect(c.text);
    commands.Start(window.Tables());
    EXPECT_FALSE(commands.ScanRan());
    ASSERT_EQ(host.boxes.shown.size(), 1u);
    EXPECT_EQ(host.boxes.shown[0].title, c.title);
    EXPECT_EQ(host.boxes.shown[0].icon, c.icon);
    EXPECT_EQ(host.busyEntered, 0);
    EXPECT_EQ(host.startCaption, "Mars and Jupiter");
    EXPECT_EQ(host.geometryApplied, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Start, StartRefusal,
    ::testing::Values(
        Refusal{"TwoDaysApart", [](FakeWindow& w) { w.day[1] = w.day[0] + 2; },
                "The start date must be at least 3 days prior to the end date.", "Mars and Jupiter",
                MsgIcon::Information},
        Refusal{"NoTimezone", [](FakeWindow& w) { w.inputs.timezoneIndex = 0; },
                "Please specify the timezone for the results, or use the default GMT timezone.",
                "Mars and Jupiter", MsgIcon::None},
        Refusal{"SamePlanet", [](FakeWindow& w) { w.first = 4; },
                "Transit of a planet to itself is not possible.", "Mars and Jupiter",
                MsgIcon::Exclamation},
        Refusal{"Descending", [](FakeWindow& w) { w.first = 5; },
                "Second planet must be beyond first planet", "Mars and Jupiter",
                MsgIcon::Information},
        Refusal{"PlutoFirstIsDescending", [](FakeWindow& w) { w.first = -1; },
                "Second planet must be beyond first planet", "Mars and Jupiter",
                MsgIcon::Information},
        Refusal{"MarsMoonIsDescending", [](FakeWindow& w) { w.second = 8; },
                "Second planet must be beyond first planet", "Mars and Jupiter",
                MsgIcon::Information},
        Refusal{"MoonWithItself",
                [](FakeWindow& w) {
                    w.first = 8;
                    w.second = 8;
                },
                "Transit of a planet to itself is not possible.", "Mars and Jupiter",
                MsgIcon::Exclamation},
        Refusal{"MoonHeliocentric",
                [](FakeWindow& w) {
                    w.first = 8;
                    w.inputs.heliocentric = true;
                },
                "The Moon is geocentric only: choose Geocentric to use it.", "Mars and Jupiter",
                MsgIcon::Information},
        Refusal{"NoAspect",
                [](FakeWindow& w) {
                    w.inputs.aspectChecked = {false, false, false, false, false, false, false};
                },
                "At least one aspect type must be checked.", "Aspect type", MsgIcon::None},
        Refusal{"OrbsNotDecreasing",
                [](FakeWindow& w) {
                    w.inputs.orbIndex = {4, 4, 1, 3};
                },
                "Orbs must be strictly decreasing.", "Orb values", MsgIcon::Information}),
    [](const auto& info) { return std::string(info.param.name); });

// The Moon ranks right after the Sun: these pairs are in order and scan
// with the Moon's step.
TEST_F(CommandsTest, PairsWithTheMoonInOrderAreScanned) {
    const struct {
        int firstIndex, secondIndex;
        std::int16_t first, second;
    } cases[] = {
        {0, 8, kSun, kMoon}, {8, 0, kMoon, kMercury}, {8, 2, kMoon, kMars}, {8, 7, kMoon, kPluto}};
    for (const auto& c : cases) {
        FakeRunHost h;
        FakeWindow w;
        w.first = c.firstIndex;
        w.second = c.secondIndex;
        w.day[0] = S;
        w.day[1] = S + 5;
        ProfilePositions p(c.first, OnePass());
        TransitCommands cmd(h, p);
        AssumePlutoTables(cmd);
        cmd.Start(w.Tables());
        ASSERT_TRUE(cmd.ScanRan()) << c.firstIndex << " " << c.secondIndex;
        EXPECT_EQ(cmd.LastRequest().firstPlanet, c.first);
        EXPECT_EQ(cmd.LastRequest().secondPlanet, c.second);
        // Steps of 45 minutes: the scan's last two positions of each planet.
        ASSERT_GT(p.calls.size(), 8u);
        const auto& calls = p.calls;
        EXPECT_EQ(calls[calls.size() - 4].first, calls[calls.size() - 2].first);
        EXPECT_DOUBLE_EQ(calls[calls.size() - 2].second - calls[calls.size() - 4].second, 1.0 / 32);
    }
}

TEST_F(CommandsTest, SearchRefusesTheMoonHeliocentricAndOutOfOrder) {
    const struct {
        int firstIndex, secondIndex;
        bool heliocentric;
        const char* text;
    } cases[] = {
        {0, 8, true, "The Moon is geocentric only: choose Geocentric to use it."},
        {8, 3, true, "The Moon is geocentric only: choose Geocentric to use it."},
        {3, 8, false, "Second planet must be beyond first planet"},
        {8, 8, false, "Second planet must be beyond first planet"},
    };
    for (const auto& c : cases) {
        FakeRunHost h;
        FakeWindow w;
        w.first = c.firstIndex;
        w.second = c.secondIndex;
        w.inputs.heliocentric = c.heliocentric;
        h.boxes.Expect(c.text);
        TransitCommands cmd(h, positions);
        AssumePlutoTables(cmd);
        cmd.Search(w.Searched());
        EXPECT_FALSE(cmd.ScanRan()) << c.text;
        ASSERT_EQ(h.boxes.shown.size(), 1u);
        EXPECT_EQ(h.boxes.shown[0].title, "Search");
    }
}

TEST_F(CommandsTest, ThreeDaysApartIsAccepted) {
    window.day[1] = S + 3;
    host.boxes.Expect("There are no transits of this kind in the period specified.");
    commands.Start(window.Tables());
    EXPECT_TRUE(commands.ScanRan());
}

// After the zone's message a show-all series goes on in GMT with its next
// pair.
TEST_F(CommandsTest, ShowAllGoesOnInGmtAfterTheZonesMessage) {
    window.first = 4;  // Jupiter
    window.inputs.timezoneIndex = 0;
    positions = ProfilePositions(kJupiter, OnePass());
    std::vector<std::string> labels;
    host.onEnterBusy = [&] { labels.push_back(commands.LastRequest().timezoneLabel); };
    host.boxes.Expect(
        "Please specify the timezone for the results, or use the default GMT timezone.");
    commands.ShowAll(window.ShowAll(1));
    EXPECT_EQ(host.boxes.shown[0].title, "Jupiter and Mercury");
    EXPECT_EQ(labels, std::vector<std::string>(6, "GMT"));  // Mercury's pass was refused
    EXPECT_EQ(commands.LastRequest().timezoneIndex, kGmtIndex);
}

// A click on the transit button while its own scan runs asks for a pause
// and never starts a second scan.
TEST_F(CommandsTest, StartDuringItsScanOnlyRequestsAPause) {
    int clicks = 0;
    host.onYield = [&](long n) {
        if (n != 5) return;
        commands.Start(window.Tables());
        ++clicks;
        EXPECT_TRUE(host.control.PauseRequested());
    };
    host.boxes.Expect("Stop?", MsgResult::No);
    commands.Start(window.Tables());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(host.busyEntered, 1);
    EXPECT_FALSE(host.control.PauseRequested());
    EXPECT_FALSE(host.control.Running());
}

TEST_F(CommandsTest, DataSpanMessagesNameThePlanet) {
    positions.failBefore = S + 10;  // -99: "too early"
    host.boxes.Expect("Start date is too early for Mars.");
    commands.Start(window.Tables());
    EXPECT_FALSE(commands.ScanRan());
    EXPECT_EQ(host.boxes.shown[0].title, kDefaultTitle);
    EXPECT_EQ(host.boxes.shown[0].icon, MsgIcon::None);
}

// Fixed answers per planet, whatever the date.
class AnswerPositions final : public PositionSource {
public:
    double Longitude(std::int16_t planet, double, bool heliocentric) override {
        askedHelio = heliocentric;
        const auto it = answers.find(planet);
        return it == answers.end() ? 1.0 : it->second;
    }
    bool IsRetrograde(std::int16_t, double) override { return false; }
    std::map<int, double> answers;
    bool askedHelio = false;
};

TEST(DataSpan, NamesThePlanetAndPrefersTooEarly) {
    // Mars (4) and Jupiter (5).
    const struct {
        double mars;
        double jupiter;
        int date;
        const char* message;
    } cases[] = {
        {1.0, 1.0, 0, ""},
        {-99.0, 1.0, 0, "Start date is too early for Mars."},
        {1.0, -99.0, 1, "End date is too early for Jupiter."},
        {-100.0, -99.0, 0, "Start date is too early for Jupiter."},
        {1.0, -100.0, 1, "End date is too late for Jupiter."},
        {-105.0, 1.0, 0, ""},  // other codes are not the date's fault
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        AnswerPositions positions;
        positions.answers = {{kMars, c.mars}, {kJupiter, c.jupiter}};
        ScriptedBoxes boxes;
        if (*c.message != '\0') boxes.Expect(c.message);
        EXPECT_EQ(CheckDateInDataSpan(c.date, S, kMars, kJupiter, false, positions, boxes),
                  *c.message == '\0');
        ASSERT_EQ(boxes.shown.size(), *c.message != '\0' ? 1u : 0u);
        if (*c.message != '\0') {
            EXPECT_EQ(boxes.shown[0].title, kDefaultTitle);
            EXPECT_EQ(boxes.shown[0].icon, MsgIcon::None);
        }
    }
}

TEST(DataSpan, UsesTheNameAndTheCentricityOfTheRun) {
    for (const bool helio : {true, false}) {
        AnswerPositions positions;
        positions.answers = {{kSun, -100.0}};
        ScriptedBoxes boxes;
        boxes.Expect(helio ? "End date is too late for Earth." : "End date is too late for Sun.");
        EXPECT_FALSE(CheckDateInDataSpan(1, S, kSun, kMars, helio, positions, boxes));
        EXPECT_EQ(positions.askedHelio, helio);
        EXPECT_EQ(boxes.shown.size(), 1u);
    }
}

// Each Pluto table counts on its own: a run whose table is not in memory
// says which file and why, and a show-all series ends with that one message.
TEST_F(CommandsTest, PlutoWithoutItsTableSaysSo) {
    window.second = 7;  // Pluto
    const std::string problem =
        "Cannot read the data file hpluto.2199.slx: No such file or directory.";
    commands.SetPlutoTableProblem([&](bool) { return problem; });
    host.boxes.Expect(problem);
    commands.Start(window.Tables());
    EXPECT_FALSE(commands.ScanRan());
    EXPECT_EQ(host.boxes.shown[0].icon, MsgIcon::Exclamation);
}

// A position a data file cannot give at the request's dates is reported
// before any scan, with the file's message.
TEST_F(CommandsTest, DataFileFailureAtTheDatesIsReported) {
    class Failing final : public PositionSource {
    public:
        double Longitude(std::int16_t planet, double jd, bool heliocentric) override {
            if (planet != kJupiter) return 1.0;
            failure = DescribePositionFailure(planet, jd, heliocentric, -101.0);
            failure->reason = "No such file or directory";
            return -101.0;
        }
        bool IsRetrograde(std::int16_t, double) override { return false; }
        std::optional<PositionFailure> Failure() const override { return failure; }
        void ClearFailure() override { failure.reset(); }
        std::optional<PositionFailure> failure;
    } failing;
    TransitCommands withFailure(host, failing);
    AssumePlutoTables(withFailure);
    host.boxes.Expect("Cannot read the data file jupiter.dac: No such file or directory.");
    withFailure.Start(window.Tables());
    EXPECT_FALSE(withFailure.ScanRan());
    EXPECT_EQ(host.boxes.shown.size(), 1u);
}

// A record that fails in the middle of the period (a damaged stretch of a
// file) stops the scan at that step: its message, "Stopped", and nothing
// computed from the missing positions.
TEST_F(CommandsTest, DataFileFailureDuringTheScanStopsIt) {
    class FailsLater final : public PositionSource {
    public:
        explicit FailsLater(PositionSource& inner) : inner_(inner) {}
        double Longitude(std::int16_t planet, double jd, bool heliocentric) override {
            if (planet == kJupiter && jd >= S + 20.0 && jd < S + 30.0) {
                if (!failure) {
                    failure = DescribePositionFailure(planet, jd, heliocentric, -107.0);
                }
                return -107.0;
            }
            const PositionResult r = inner_.Position(planet, jd, heliocentric);
            return r.HasLongitude() ? r.Longitude() : r.FailureCode();
        }
        bool IsRetrograde(std::int16_t planet, double jd) override {
            return inner_.IsRetrograde(planet, jd);
        }
        std::optional<PositionFailure> Failure() const override { return failure; }
        void ClearFailure() override { failure.reset(); }
        std::optional<PositionFailure> failure;

    private:
        PositionSource& inner_;
    } failing(positions);
    TransitCommands run(host, failing);
    AssumePlutoTables(run);
    host.boxes.Expect(
        "Cannot read the data file jupiter.dac: the record for the years 2000 to 2004 is damaged.");
    run.Start(window.Tables());
    ASSERT_TRUE(run.ScanRan());
    EXPECT_EQ(run.LastScanEnd(), ScanEnd::DataFileFailed);
    EXPECT_EQ(host.boxes.shown[0].icon, MsgIcon::Exclamation);
    EXPECT_NE(host.output.text.find("Stopped"), std::string::npos);
    // The pass was still in its outer orb when the positions failed: its row
    // is not written, and no date after the failure appears.
    EXPECT_EQ(host.output.text.find("2000-01-2"), std::string::npos) << host.output.text;
    EXPECT_EQ(host.output.text.find("2000-01-3"), std::string::npos) << host.output.text;
}

// The date check asks the run's own centricity: heliocentric Pluto has its
// table up to 2199, the geocentric one only to 2099.
TEST_F(CommandsTest, DateCheckAsksTheRunsCentricity) {
    class TwoTables final : public PositionSource {
    public:
        double Longitude(std::int16_t planet, double jd, bool heliocentric) override {
            if (planet == kPluto && !heliocentric && jd >= 2488069.5) return -100.0;
            if (planet == kPluto && jd >= 2524593.5) return -100.0;
            return planet == kPluto ? 1.0 : 2.0 + (jd - 2488069.5) * 0.001;
        }
        bool IsRetrograde(std::int16_t, double) override { return false; }
    } tables;
    TransitCommands run(host, tables);
    AssumePlutoTables(run);
    window.second = 7;        // Pluto
    window.day[0] = 2506332;  // 2150-01-01
    window.day[1] = 2506372;
    window.inputs.heliocentric = true;
    // Constant positions: the scan runs and finds nothing.
    host.boxes.Expect("There are no transits of this kind in the period specified.");
    run.Start(window.Tables());
    EXPECT_TRUE(run.ScanRan());
    window.inputs.heliocentric = false;
    host.boxes.Expect("Start date is too late for Pluto.");
    TransitCommands geo(host, tables);
    AssumePlutoTables(geo);
    geo.Start(window.Tables());
    EXPECT_FALSE(geo.ScanRan());
}

// A start inside the inner orb moves back to the first day whose local
// midnight is outside it: the report then opens with the inner-orb entry.
TEST_F(CommandsTest, StartMovesBackOutOfTheInnerOrb) {
    window.day[0] = S + 13;  // midnight S + 12.5: 0.6° from exact
    commands.Start(window.Tables());
    ASSERT_TRUE(commands.ScanRan());
    // Midnights S + 11.5 (1.6°) is inside, S + 10.5 (2.6°) outside.
    EXPECT_EQ(commands.LastRequest().startDay, S + 11);
    const auto rows = TransitRows(host.output.text);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][1], "");
    EXPECT_EQ(rows[0][2], "");
    EXPECT_EQ(rows[0][3], "2000-01-12");
    EXPECT_EQ(rows[0][4], "2000-01-14*");
    // The title keeps the entered dates.
    EXPECT_NE(host.output.text.find("from January 14, 2000"), std::string::npos);
}

TEST(MoveStartOutOfTransit, ZoneAndMissingPositions) {
    InitPositionsWithFolder(VLT_BIN_DIR "/");
    const double inner = OrbRadians(2);
    ProfilePositions p(kMars, OnePass());
    // Outside the inner orb: unchanged.
    EXPECT_EQ(MoveStartOutOfTransit(S + 5, kMars, kJupiter, false, inner, 0, p), S + 5);
    EXPECT_EQ(MoveStartOutOfTransit(S + 13, kMars, kJupiter, false, inner, 0, p), S + 11);
    // At GMT+11:30 local midnight is 11.5 hours earlier in universal time:
    // S + 10 begins at universal S + 9.02 (4.1° away), S + 11 at S + 10.02
    // (3.1°), S + 12 at S + 11.02 (2.08°), S + 13 at S + 12.02 (1.08°).
    EXPECT_EQ(MoveStartOutOfTransit(S + 13, kMars, kJupiter, false, inner, 690, p), S + 12);
    // Positions missing before S + 12: the day after the failing one.
    p.failBefore = S + 12;
    EXPECT_EQ(MoveStartOutOfTransit(S + 13, kMars, kJupiter, false, inner, 0, p), S + 13);
    // An aspect type that is not checked still counts: a square at 90°.
    ProfilePositions square(kMars, {{S + 20, 100}, {S + 21, 89.5}, {S + 30, 89.5}, {S + 31, 100}});
    EXPECT_EQ(MoveStartOutOfTransit(S + 30, kMars, kJupiter, false, inner, 0, square), S + 21);
    // A pair that never leaves the orb stops at the first supported day.
    ProfilePositions always(kMars, {{S, 0.5}, {S + 1, 0.5}});
    EXPECT_EQ(MoveStartOutOfTransit(1721426 + 40, kMars, kJupiter, false, inner, 0, always),
              1721426);
}

TEST(SearchOrbDegrees, FromTheSearchOrbList) {
    EXPECT_EQ(SearchOrbDegrees(0), (std::array<std::int16_t, 3>{3, 2, 1}));
    EXPECT_EQ(SearchOrbDegrees(3), (std::array<std::int16_t, 3>{6, 4, 2}));
    EXPECT_EQ(SearchOrbDegrees(5), (std::array<std::int16_t, 3>{8, 5, 2}));
    EXPECT_EQ(SearchOrbDegrees(12), (std::array<std::int16_t, 3>{15, 10, 5}));
}

// ---- Search ----

class SearchTest : public CommandsTest {
protected:
    SearchTest() {
        window.inputs.searchAspectIndex = 0;
        window.inputs.orbIndex[3] = 5;  // 8°
    }
};

TEST_F(SearchTest, EndsAfterTheFirstCompleteTransitWithoutDone) {
    // Two passes; the search stops after the first one's outer exit.
    positions = ProfilePositions(
        kMars, {{S + 0.1, 13}, {S + 13.1, 0}, {S + 26.1, 13}, {S + 39.1, 0}, {S + 52.1, 13}});
    window.day[0] = S + 13;  // inside the transit: searches do not move back
    window.day[1] = S + 20;
    commands.Search(window.Searched());
    ASSERT_TRUE(commands.ScanRan());
    EXPECT_EQ(commands.LastScanEnd(), ScanEnd::FoundInSearch);
    EXPECT_FALSE(commands.SearchMode());
    const TransitRequest& r = commands.LastRequest();
    EXPECT_TRUE(r.searchMode);
    EXPECT_EQ(r.orbDegrees, (std::array<std::int16_t, 3>{8, 5, 2}));
    EXPECT_EQ(r.startDay, S + 13);
    const auto rows = TransitRows(host.output.text);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][1], "");  // orbs already entered on the start day
    EXPECT_EQ(rows[0][4], "2000-01-14*");
    EXPECT_EQ(rows[0][7], "2000-01-22");  // 8° left at S + 21.1
    EXPECT_TRUE(host.notices.empty());
    double latest = 0;
    for (const auto& call : positions.calls) latest = std::max(latest, call.second);
    EXPECT_LT(latest, S + 23);
    EXPECT_NE(host.output.text.find(
                  "First geocentric 8\xC2\xB0 conjunction of Mars and Jupiter on or after "
                  "January 14, 2000 ('r' = Mars retrograde)"),
              std::string::npos);
    EXPECT_EQ(host.busyLeft, 1);
}

TEST_F(SearchTest, SearchesFromTheEndDateWhenAsked) {
    window.inputs.searchWhenIndex = 1;
    window.day[1] = S + 5;
    commands.Search(window.Searched());
    EXPECT_EQ(commands.LastRequest().startDay, S + 5);
}

TEST_F(SearchTest, NothingBefore2100) {
    positions = ProfilePositions(kMars, {{S, 45}, {S + 1, 45}});
    host.boxes.Expect("There are no transits of this kind before January 1, 2100.");
    commands.Search(window.Searched());
    EXPECT_EQ(commands.LastScanEnd(), ScanEnd::NothingFound);
    EXPECT_EQ(host.boxes.shown[0].title, "Not found");
    double latest = 0;
    for (const auto& call : positions.calls) latest = std::max(latest, call.second);
    EXPECT_DOUBLE_EQ(latest, 2488069 + 0.5);  // 18:00 of 31 December 2099 plus one step
}

struct SearchRefusal {
    const char* name;
    int first, second;  // list indices
    int aspectIndex;
    bool heliocentric;
    std::string text;  // "" when the search runs
};

class SearchAspectRule : public SearchTest, public ::testing::WithParamInterface<SearchRefusal> {};

TEST_P(SearchAspectRule, GeocentricPairsOfTheInnerSystem) {
    const SearchRefusal& c = GetParam();
    window.first = c.first;
    window.second = c.second;
    window.inputs.searchAspectIndex = c.aspectIndex;
    window.inputs.heliocentric = c.heliocentric;
    // The pass runs through the angle of the aspect searched for.
    static const double angles[] = {0, 180, 90, 120, 60, 30, 150};
    const double angle = angles[c.aspectIndex];
    positions = ProfilePositions(static_cast<std::int16_t>(c.first + 1), {});
    ProfilePositions pass(kMars, OnePass());
    positions.separation = [angle, pass](double jd) {
        const double d = pass.SeparationDegrees(jd);
        return angle >= 180 ? angle - d : angle + d;
    };
    if (!c.text.empty()) host.boxes.Expect(c.text);
    commands.Search(window.Searched());
    EXPECT_EQ(commands.ScanRan(), c.text.empty());
    if (!c.text.empty()) {
        EXPECT_EQ(host.boxes.shown[0].title, "Search");
        EXPECT_EQ(host.boxes.shown[0].icon, MsgIcon::Information);
    }
}

const std::string kSunMercury =
    "The only possible geocentric aspects between the Sun and Mercury\n"
    "are conjunction and semisextile.";
const std::string kSunVenus =
    "The only possible geocentric aspects between the Sun and Venus\n"
    "are conjunction, sextile and semisextile.";
const std::string kMercuryVenus =
    "The only possible geocentric aspects between Mercury and Venus\n"
    "are conjunction, sextile and semisextile.";

INSTANTIATE_TEST_SUITE_P(
    Search, SearchAspectRule,
    ::testing::Values(
        SearchRefusal{"SunMercuryConjunction", 0, 0, 0, false, ""},
        SearchRefusal{"SunMercurySemisextile", 0, 0, 5, false, ""},
        SearchRefusal{"SunMercurySextile", 0, 0, 4, false, kSunMercury},
        SearchRefusal{"SunMercurySextileHelio", 0, 0, 4, true, ""},
        SearchRefusal{"SunVenusSextile", 0, 1, 4, false, ""},
        SearchRefusal{"SunVenusSquare", 0, 1, 2, false, kSunVenus},
        SearchRefusal{"MercuryVenusOpposition", 1, 1, 1, false, kMercuryVenus},
        SearchRefusal{"SunMarsSquare", 0, 2, 2, false, ""},
        SearchRefusal{"Descending", 5, 0, 0, false, "Second planet must be beyond first planet"},
        SearchRefusal{"Equal", 1, 0, 0, true, "Second planet must be beyond first planet"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Show all ----

TEST_F(CommandsTest, ShowAllKeepsTheFirstPlanetAndOrdersEachPair) {
    window.first = 4;  // Jupiter
    window.second = 1;
    // Every planet other than Jupiter makes the same transit with it.
    positions = ProfilePositions(kJupiter, OnePass());
    std::vector<std::pair<int, int>> scans;
    host.onEnterBusy = [&] {
        scans.push_back({commands.LastRequest().firstPlanet, commands.LastRequest().secondPlanet});
        EXPECT_TRUE(commands.LastRequest().showAllMode);
    };
    host.appendChecked = false;
    host.output.text = "old text";
    commands.ShowAll(window.ShowAll(1));
    const std::vector<std::pair<int, int>> expected = {{2, 5}, {3, 5}, {4, 5}, {5, 6},
                                                       {5, 7}, {5, 8}, {5, 9}};
    EXPECT_EQ(scans, expected);
    EXPECT_TRUE(host.boxes.shown.empty());  // Jupiter with itself: no message
    // Every report has its header and title, in list order, without markers.
    const auto lines = SplitLines(host.output.text);
    std::vector<std::string> titles;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (lines[i - 1] == std::string(119, '-') && lines[i].rfind("Geocentric", 0) == 0) {
            titles.push_back(lines[i]);
        }
    }
    ASSERT_EQ(titles.size(), 7u);
    EXPECT_EQ(titles[0],
              "Geocentric transits for Jupiter and Mercury from January 1, 2000, to February 10, "
              "2000 ('r' not shown)");
    EXPECT_EQ(titles[6].substr(0, 42), "Geocentric transits for Jupiter and Pluto ");
    EXPECT_EQ(TransitRows(host.output.text).size(), 7u);
    EXPECT_EQ(host.output.text.find("old text"), std::string::npos);
    EXPECT_TRUE(positions.retrogradeQueries.empty());
    // Each pair is announced in list order, then the pair the series began
    // with; the append setting comes back; one "Done" at the end.
    const std::vector<std::pair<int, int>> announced = {{5, 2}, {5, 3}, {5, 4}, {5, 5}, {5, 6},
                                                        {5, 7}, {5, 8}, {5, 9}, {5, 3}};
    EXPECT_EQ(host.seriesPairs, announced);
    EXPECT_FALSE(host.appendChecked);
    ASSERT_EQ(host.notices.size(), 1u);
    EXPECT_EQ(host.notices[0], "Done");
    EXPECT_EQ(host.startCaption, "Jupiter and Venus");
    EXPECT_FALSE(commands.ShowAllMode());
}

TEST_F(CommandsTest, ShowAllFirstListEndsWithPluto) {
    window.second = 2;  // Mars
    positions = ProfilePositions(kMars, OnePass());
    std::vector<std::pair<int, int>> scans;
    host.onEnterBusy = [&] {
        scans.push_back({commands.LastRequest().firstPlanet, commands.LastRequest().secondPlanet});
    };
    host.appendChecked = true;
    host.output.text = "old text";
    commands.ShowAll(window.ShowAll(0));
    const std::vector<std::pair<int, int>> expected = {{1, 4}, {2, 4}, {3, 4}, {4, 5},
                                                       {4, 6}, {4, 7}, {4, 8}, {4, 9}};
    EXPECT_EQ(scans, expected);
    EXPECT_EQ(host.output.text.rfind("old text\r\n\r\n---", 0), 0u);
    EXPECT_NE(host.output.text.find("Geocentric transits for Sun and Mars from January 1, 2000, "
                                    "to February 10, 2000\r\n"),
              std::string::npos);
    EXPECT_NE(host.output.text.find("transits for Pluto and Mars"), std::string::npos);
    EXPECT_TRUE(host.appendChecked);
}

// Which pairs a show-all series scans, in order, with the Moon in the
// lists: the Moon only when it is kept or asked for, and then last.
struct MoonSeries {
    const char* name;
    int first, second;  // list positions
    int item;           // the button: 1 keeps the first planet
    bool withMoon, heliocentric;
    std::vector<std::pair<int, int>> pairs;
};

class ShowAllWithMoon : public CommandsTest, public ::testing::WithParamInterface<MoonSeries> {};

TEST_P(ShowAllWithMoon, ScansThePairsInOrder) {
    const MoonSeries& c = GetParam();
    window.first = c.first;
    window.second = c.second;
    window.inputs.showAllWithMoon = c.withMoon;
    window.inputs.heliocentric = c.heliocentric;
    // Every other planet passes the kept one once.
    positions = ProfilePositions(
        c.item == 1 ? FirstPlanetOfListIndex(c.first) : SecondPlanetOfListIndex(c.second),
        OnePass());
    std::vector<std::pair<int, int>> scans;
    host.onEnterBusy = [&] {
        scans.push_back({commands.LastRequest().firstPlanet, commands.LastRequest().secondPlanet});
    };
    commands.ShowAll(window.ShowAll(c.item));
    EXPECT_EQ(scans, c.pairs);
    EXPECT_TRUE(host.boxes.shown.empty());
    ASSERT_FALSE(host.seriesPairs.empty());
    EXPECT_EQ(host.seriesPairs.back(), (std::pair<int, int>{FirstPlanetOfListIndex(c.first),
                                                            SecondPlanetOfListIndex(c.second)}));
}

INSTANTIATE_TEST_SUITE_P(
    Moon, ShowAllWithMoon,
    ::testing::Values(
        MoonSeries{"KeepingMarsLeavesTheMoonOut",
                   3,
                   0,
                   1,
                   false,
                   false,
                   {{2, 4}, {3, 4}, {4, 5}, {4, 6}, {4, 7}, {4, 8}, {4, 9}}},
        MoonSeries{"KeepingTheSunLeavesTheMoonOut",
                   0,
                   0,
                   1,
                   false,
                   false,
                   {{1, 2}, {1, 3}, {1, 4}, {1, 5}, {1, 6}, {1, 7}, {1, 8}, {1, 9}}},
        MoonSeries{"KeepingMarsWithTheMoonEndsWithIt",
                   3,
                   0,
                   1,
                   true,
                   false,
                   {{2, 4}, {3, 4}, {4, 5}, {4, 6}, {4, 7}, {4, 8}, {4, 9}, {10, 4}}},
        MoonSeries{"KeepingJupiterWithTheMoonEndsWithItAfterPluto",
                   3,
                   3,
                   0,
                   true,
                   false,
                   {{1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 6}, {5, 7}, {5, 8}, {5, 9}, {10, 5}}},
        MoonSeries{"KeepingTheMoonFirst",
                   8,
                   0,
                   1,
                   false,
                   false,
                   {{10, 2}, {10, 3}, {10, 4}, {10, 5}, {10, 6}, {10, 7}, {10, 8}, {10, 9}}},
        MoonSeries{
            "KeepingTheMoonSecond",
            0,
            8,
            0,
            false,
            false,
            {{1, 10}, {10, 2}, {10, 3}, {10, 4}, {10, 5}, {10, 6}, {10, 7}, {10, 8}, {10, 9}}},
        MoonSeries{"HeliocentricNeverTakesTheMoon",
                   3,
                   0,
                   1,
                   true,
                   true,
                   {{2, 4}, {3, 4}, {4, 5}, {4, 6}, {4, 7}, {4, 8}, {4, 9}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommandsTest, ShowAllKeepingTheMoonHeliocentricIsRefusedOnce) {
    window.first = 8;
    window.inputs.heliocentric = true;
    host.boxes.Expect("The Moon is geocentric only: choose Geocentric to use it.");
    host.output.text = "old text";
    commands.ShowAll(window.ShowAll(1));
    EXPECT_FALSE(commands.ScanRan());
    EXPECT_EQ(host.boxes.shown.size(), 1u);
    EXPECT_EQ(host.output.text, "old text");
    EXPECT_FALSE(commands.ShowAllMode());
}

TEST_F(CommandsTest, ShowAllStopsTheSeriesAtYes) {
    window.first = 4;
    positions = ProfilePositions(kJupiter, OnePass());
    int scansStarted = 0;
    host.onEnterBusy = [&] { ++scansStarted; };
    host.onYield = [&](long) {
        if (scansStarted == 3 && !host.control.PauseRequested() && host.boxes.shown.empty())
            host.control.RequestPause();
    };
    host.boxes.Expect("Stop?", MsgResult::Yes);
    commands.ShowAll(window.ShowAll(1));
    EXPECT_EQ(scansStarted, 3);
    EXPECT_FALSE(host.control.StopRequested());
    // Three pairs, then back to Jupiter and Jupiter.
    EXPECT_EQ(host.seriesPairs.size(), 4u);
    EXPECT_EQ(host.seriesPairs.back(), (std::pair<int, int>{5, 5}));
    EXPECT_NE(host.output.text.find("\r\nStopped"), std::string::npos);
    EXPECT_EQ(host.notices.size(), 1u);
}

}  // namespace
}  // namespace vlt::testing

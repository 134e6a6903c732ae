// Whole simulation runs driven by constructed separations and index values,
// compared with output worked out by hand from the stepping rules: steps of
// 3 hours from start - 0.25, step i falling on day start + (i + 2) div 8.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/positions/positions.h"
#include "app/positions/vocabulary.h"
#include "app/simulation/family_statistics.h"
#include "app/simulation/investment_simulation.h"
#include "app/simulation/simulation_lines.h"
#include "app/simulation/simulation_text.h"
#include "simulation_fakes.h"

namespace vlt {
namespace {

using testing::CurvePositions;
using testing::FakeRunHost;
using testing::Lines;
using testing::MapIndex;

constexpr std::int32_t kStart = 2454200;  // 2007-04-09
constexpr const char* kTitle =
    "Heliocentric transits for Earth and Mars from April 9, 2007, to May 9, 2007";
constexpr const char* kHeader =
    "Simulated investments for selected aspects for Earth and Mars from April 9, 2007, to May 9, "
    "2007";

class SimulationRun : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitPositionsWithFolder(std::string(VLT_BIN_DIR) + "/"); }

    // Earth (list position 0) and Mars (position 2), conjunction only, orbs
    // 10, 5 and 2 degrees, 30 days from 2007-04-09, with details.
    static SimulationRequest Request() {
        SimulationRequest r;
        r.firstPlanetIndex = 0;
        r.secondPlanetIndex = 2;
        r.aspectChecked = {true, false, false, false, false, false, false};
        r.orbIndex = {9, 4, 1};
        r.startDay = kStart;
        r.endDay = kStart + 30;
        r.includeDetails = true;
        r.append = false;
        r.reportTitle = kTitle;
        return r;
    }

    SimulationOutcome Run(const SimulationRequest& request, std::function<double(double)> curve) {
        CurvePositions positions(request.startDay, 4, std::move(curve));
        if (invalidSteps) positions.invalidFirstPlanetAt = invalidSteps;
        SimulationTextSink text(host.Output(), amounts);
        InvestmentSimulation simulation(host, text, positions, index);
        current = &simulation;
        const SimulationOutcome outcome = simulation.Click(request);
        current = nullptr;
        pairs = simulation.Pairs();
        totals = simulation.Totals();
        events = simulation.Events();
        EXPECT_TRUE(host.boxes.ScriptDone()) << "a scripted message box was not shown";
        EXPECT_TRUE(std::is_sorted(host.progress.begin(), host.progress.end()))
            << "the progress went back";
        EXPECT_FALSE(host.control.Running());  // the run control knows the run ended
        return outcome;
    }

    FakeRunHost host{RunKind::Simulation};
    MapIndex index;
    SeparatorAmountFormatter amounts;
    std::function<bool(double)> invalidSteps;
    InvestmentSimulation* current = nullptr;
    std::vector<SimulationPair> pairs;
    SimulationTotals totals;
    std::vector<SimulationEvent> events;
};

// Separation falling one degree per step to 0.5 at step 20, then rising and
// held at 15.5 (far from every other aspect angle).
double Vee(double i) { return std::min(std::fabs(i - 20.0) + 0.5, 15.5); }

TEST_F(SimulationRun, OneTransitThroughThreeOrbsGivesTheWholeReport) {
    index.values = {{kStart + 2, 1050.0}, {kStart + 3, 1100.0}, {kStart + 4, 1200.0}};
    ASSERT_EQ(Run(Request(), Vee), SimulationOutcome::Completed);
    const std::vector<std::string> expected = {
        kHeader,
        "",
        "Conjunction  10\u00B0, investment #1 on 2007-04-10 of $100",
        "Conjunction   5\u00B0, investment #1 on 2007-04-11 of $100",
        "Conjunction   2\u00B0, investment #1 on 2007-04-11 of $100",
        "Conjunction   2\u00B0, redemption #1 on 2007-04-12, gained $4.76, total gain is $4.76",
        "Conjunction   5\u00B0, redemption #1 on 2007-04-12, gained $4.76, total gain is $4.76",
        "Conjunction  10\u00B0, redemption #1 on 2007-04-13, gained $20.00, total gain is $20.00",
        "",
        "Total number of investments = 3",
        "",
        "Ea con Ma, 10\u00B0, ends with $20.00",
        "Ea con Ma,  5\u00B0, ends with $4.76",
        "Ea con Ma,  2\u00B0, ends with $4.76",
        "",
        "Gain or loss by aspect for all orbs:",
        "Conjunction   3  $29.52",
        "",
    };
    EXPECT_EQ(Lines(host.output.text), expected);
    EXPECT_EQ(totals.completedInvestments, 3);
    EXPECT_EQ(totals.Of(Aspect::Conjunction).redemptions, 3);
    EXPECT_NEAR(totals.Of(Aspect::Conjunction).gainSum, 20.0 + 2 * 5000.0 / 1050.0, 1e-9);
    const std::vector<std::string> events = {"geometry", "busy(simulation)", "popup(Done)", "idle"};
    EXPECT_EQ(host.events, events);
    ASSERT_FALSE(host.progress.empty());
    EXPECT_DOUBLE_EQ(host.progress.back(), 1.0);
}

// From the Earth the first planet is the Sun: the summary and the statistics
// name the pair by the run's centricity; the investments are the same for the
// same separations.
TEST_F(SimulationRun, SummaryNamesThePairByTheRunsCentricity) {
    index.values = {{kStart + 2, 1050.0}, {kStart + 3, 1100.0}, {kStart + 4, 1200.0}};
    const struct {
        bool heliocentric;
        const char* first;  // the summary lines' label of the pair
    } cases[] = {{true, "Ea con Ma, 10\u00B0, ends with $20.00"},
                 {false, "Su con Ma, 10\u00B0, ends with $20.00"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        host.output.text.clear();
        host.progress.clear();
        SimulationRequest request = Request();
        request.heliocentric = c.heliocentric;
        ASSERT_EQ(Run(request, Vee), SimulationOutcome::Completed);
        const std::vector<std::string> lines = Lines(host.output.text);
        EXPECT_NE(std::find(lines.begin(), lines.end(), c.first), lines.end());
        EXPECT_EQ(totals.completedInvestments, 3);
        FamilyResult stats;
        stats.rows.push_back({});
        stats.rows.back().first = kSun;
        stats.rows.back().second = kMars;
        stats.rows.back().helio = c.heliocentric;
        stats.rows.back().aspect = kConjunction;
        stats.rows.back().orbDegrees = 10;
        const std::string text = FamilyStatisticsText(stats);
        EXPECT_NE(text.find(std::string(c.first).substr(0, 13)), std::string::npos) << text;
    }
}

TEST_F(SimulationRun, AmountsFollowTheFormatterButRecordsDoNot) {
    // Buying at 10000 and selling at 12345.67 gains 23.4567 dollars.
    index.values = {{kStart + 1, 10000.0}, {kStart + 4, 12345.67}};
    amounts = SeparatorAmountFormatter(",", ".", "\3");
    SimulationRequest request = Request();
    request.orbIndex = {9, 1, 0};
    ASSERT_EQ(Run(request, Vee), SimulationOutcome::Completed);
    const auto lines = Lines(host.output.text);
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "Conjunction  10\u00B0, redemption #1 on 2007-04-13, gained $23,46, "
                        "total gain is $23,46"),
              lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Ea con Ma, 10\u00B0, ends with $23,46"),
              lines.end());
    // The pair keeps the number; only the text follows the formatter.
    ASSERT_FALSE(pairs.empty());
    EXPECT_EQ(pairs.front().totalGain, 23.46);
    EXPECT_EQ(pairs.front().investments, 1);
    EXPECT_FALSE(pairs.front().openValue);
}

TEST_F(SimulationRun, ApplyingAtTheFirstStepOpensAtOnce) {
    // 5.5 degrees at step 0 and closing: inside the 10 degree orb, applying.
    ASSERT_EQ(Run(Request(), [](double i) { return std::min(std::fabs(i - 5.0) + 0.5, 15.5); }),
              SimulationOutcome::Completed);
    const auto lines = Lines(host.output.text);
    ASSERT_GE(lines.size(), 8u);
    EXPECT_EQ(lines[2], "Conjunction  10\u00B0, investment #1 on 2007-04-09 of $100");
    EXPECT_EQ(lines[3], "Conjunction   5\u00B0, investment #1 on 2007-04-09 of $100");
    EXPECT_EQ(lines[4], "Conjunction   2\u00B0, investment #1 on 2007-04-09 of $100");
    EXPECT_EQ(lines[5],
              "Conjunction   2\u00B0, redemption #1 on 2007-04-10, gained $0.00, "
              "total gain is $0.00");
    EXPECT_EQ(lines[6],
              "Conjunction   5\u00B0, redemption #1 on 2007-04-10, gained $0.00, "
              "total gain is $0.00");
    EXPECT_EQ(lines[7],
              "Conjunction  10\u00B0, redemption #1 on 2007-04-11, gained $0.00, "
              "total gain is $0.00");
}

TEST_F(SimulationRun, SeparatingAtTheFirstStepWaitsForTheNextEntry) {
    // 5.5 degrees at step 0 and widening to 15.5 at step 10; then closing to
    // 0.5 at step 25: the 10 degree orb is entered at step 16 (day 2).
    const auto curve = [](double i) {
        return i <= 10.0 ? 5.5 + i : std::min(std::fabs(i - 25.0) + 0.5, 15.5);
    };
    ASSERT_EQ(Run(Request(), curve), SimulationOutcome::Completed);
    const auto lines = Lines(host.output.text);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[2], "Conjunction  10\u00B0, investment #1 on 2007-04-11 of $100");
    EXPECT_EQ(totals.completedInvestments, 3);
}

TEST_F(SimulationRun, StillApplyingAtTheLastStepIsCancelled) {
    // 30 days: the last step is 244.  Closing in on a minimum at step 250.
    ASSERT_EQ(Run(Request(), [](double i) { return std::min(std::fabs(i - 250.0) + 0.5, 15.5); }),
              SimulationOutcome::Completed);
    const std::vector<std::string> expected = {
        kHeader,
        "",
        "Conjunction  10\u00B0, investment #1 on 2007-05-09 of $100",
        "Conjunction  10\u00B0, investment #1 cancelled.",
        "Total number of investments = 0",
        "",
        "",
    };
    EXPECT_EQ(Lines(host.output.text), expected);
    // The summary order puts the 5 and 2 degree records first.
    const auto tenDegree =
        std::find_if(pairs.begin(), pairs.end(), [](const auto& p) { return p.orbDegrees == 10; });
    ASSERT_NE(tenDegree, pairs.end());
    EXPECT_EQ(tenDegree->investments, 0);
    EXPECT_TRUE(tenDegree->cancelledAtEnd);
    EXPECT_FALSE(tenDegree->openValue);
}

TEST_F(SimulationRun, SeparatingOrLeavingAtTheLastStepIsRedeemed) {
    // Minimum at step 242: at the last step (244) the 10 and 5 degree orbs
    // still hold the transit, separating; the 2 degree orb is left exactly
    // at the last step and is redeemed as on any other step.
    index.values = {{kStart + 29, 1000.0}, {kStart + 30, 1010.0}};
    ASSERT_EQ(Run(Request(), [](double i) { return std::min(std::fabs(i - 242.0) + 0.5, 15.5); }),
              SimulationOutcome::Completed);
    const std::vector<std::string> details = {
        "Conjunction  10\u00B0, investment #1 on 2007-05-08 of $100",
        "Conjunction   5\u00B0, investment #1 on 2007-05-09 of $100",
        "Conjunction   2\u00B0, investment #1 on 2007-05-09 of $100",
        "Conjunction  10\u00B0, redemption #1 on 2007-05-09, gained $1.00, total gain is $1.00",
        "Conjunction   5\u00B0, redemption #1 on 2007-05-09, gained $0.00, total gain is $0.00",
        "Conjunction   2\u00B0, redemption #1 on 2007-05-09, gained $0.00, total gain is $0.00",
    };
    const auto lines = Lines(host.output.text);
    ASSERT_GE(lines.size(), 10u);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 2, lines.begin() + 8), details);
    EXPECT_EQ(lines[9], "Total number of investments = 3");
}

TEST_F(SimulationRun, EventsFollowTheDetailLines) {
    // The run of the test above: the events say what the detail lines say,
    // with days, values and gains.
    index.values = {{kStart + 29, 1000.0}, {kStart + 30, 1010.0}};
    ASSERT_EQ(Run(Request(), [](double i) { return std::min(std::fabs(i - 242.0) + 0.5, 15.5); }),
              SimulationOutcome::Completed);
    using Kind = SimulationEvent::Kind;
    struct Expected {
        Kind kind;
        int orb;
        std::int32_t day;
        double value;
        std::int32_t purchaseDay;
        double gain;
    };
    const std::vector<Expected> expected = {
        {Kind::Investment, 10, kStart + 29, 1000.0, 0, 0.0},
        {Kind::Investment, 5, kStart + 30, 1010.0, 0, 0.0},
        {Kind::Investment, 2, kStart + 30, 1010.0, 0, 0.0},
        {Kind::Redemption, 10, kStart + 30, 1010.0, kStart + 29, 1.0},
        {Kind::Redemption, 5, kStart + 30, 1010.0, kStart + 30, 0.0},
        {Kind::Redemption, 2, kStart + 30, 1010.0, kStart + 30, 0.0},
    };
    ASSERT_EQ(events.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(events[i].kind, expected[i].kind);
        EXPECT_EQ(events[i].aspect, Aspect::Conjunction);
        EXPECT_EQ(events[i].orbDegrees, expected[i].orb);
        EXPECT_EQ(events[i].number, 1);
        EXPECT_EQ(events[i].day, expected[i].day);
        EXPECT_DOUBLE_EQ(events[i].value, expected[i].value);
        if (expected[i].kind == Kind::Redemption) {
            EXPECT_EQ(events[i].purchaseDay, expected[i].purchaseDay);
            EXPECT_DOUBLE_EQ(events[i].gain, expected[i].gain);
            EXPECT_DOUBLE_EQ(events[i].totalGain, expected[i].gain);
        }
    }
}

TEST_F(SimulationRun, CancellationEventNamesThePurchase) {
    using Kind = SimulationEvent::Kind;
    ASSERT_EQ(Run(Request(), [](double i) { return std::min(std::fabs(i - 250.0) + 0.5, 15.5); }),
              SimulationOutcome::Completed);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].kind, Kind::Cancellation);
    EXPECT_EQ(events[1].number, 1);
    EXPECT_EQ(events[1].purchaseDay, events[0].day);
    EXPECT_DOUBLE_EQ(events[1].purchaseValue, 1000.0);
}

TEST_F(SimulationRun, OpenedAtTheLastStepStaysOpen) {
    // Entering the 10 degree orb exactly at the last step.
    ASSERT_EQ(Run(Request(), [](double i) { return std::min(std::fabs(i - 253.0) + 0.5, 15.5); }),
              SimulationOutcome::Completed);
    const std::vector<std::string> expected = {
        kHeader,
        "",
        "Conjunction  10\u00B0, investment #1 on 2007-05-09 of $100",
        "Total number of investments = 0",
        "",
        "",
    };
    EXPECT_EQ(Lines(host.output.text), expected);
    const auto tenDegree =
        std::find_if(pairs.begin(), pairs.end(), [](const auto& p) { return p.orbDegrees == 10; });
    ASSERT_NE(tenDegree, pairs.end());
    EXPECT_EQ(tenDegree->investments, 1);
    EXPECT_EQ(tenDegree->openValue, 1000.0);
    EXPECT_EQ(tenDegree->totalGain, 0.0);
}

TEST_F(SimulationRun, InvestmentsAreNeverCompounded) {
    // Two dips; the 2 degree orb buys at 1000 and sells at 1050, then buys at
    // 2000 and sells at 2100: 5 % twice is $10.00, not $10.25.
    index.values = {
        {kStart + 2, 1000.0}, {kStart + 3, 1050.0}, {kStart + 7, 2000.0}, {kStart + 8, 2100.0}};
    const auto curve = [](double i) {
        return std::min(std::min(std::fabs(i - 20.0), std::fabs(i - 60.0)) + 0.5, 15.5);
    };
    ASSERT_EQ(Run(Request(), curve), SimulationOutcome::Completed);
    const auto lines = Lines(host.output.text);
    const auto has = [&](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    EXPECT_TRUE(
        has("Conjunction   2\u00B0, redemption #1 on 2007-04-12, gained $5.00, total gain "
            "is $5.00"));
    EXPECT_TRUE(
        has("Conjunction   2\u00B0, redemption #2 on 2007-04-17, gained $5.00, total gain "
            "is $10.00"));
    EXPECT_TRUE(has("Ea con Ma,  2\u00B0, ends with $10.00"));
}

TEST_F(SimulationRun, ElevenAndMoreInvestmentsKeepCounting) {
    // A dip every 20 steps (minimum 0.5 degrees at steps 10, 30, ..., 230):
    // twelve investments per orb.  Index rising 10 per day.
    for (std::int32_t d = 0; d <= 30; ++d) index.values[kStart + d] = 1000.0 + 10.0 * d;
    const auto curve = [](double i) {
        const double x = std::fmod(i + 20.0, 20.0);
        return std::fabs(x - 10.0) + 0.5;
    };
    ASSERT_EQ(Run(Request(), curve), SimulationOutcome::Completed);
    // The 2 degree orb holds the transit from step c - 1 to c + 2 for each
    // minimum c; the recount below follows the stepping rules directly.
    const auto dayOf = [](int step) { return (step + 2) / 8; };
    double expectedGain = 0.0;
    for (int c = 10; c <= 230; c += 20) {
        const double buy = 1000.0 + 10.0 * dayOf(c - 1);
        const double sell = 1000.0 + 10.0 * dayOf(c + 2);
        const double g = (sell - buy) * 100.0 / buy;
        expectedGain = std::round((expectedGain + g) * 100.0) / 100.0;
    }
    const auto lines = Lines(host.output.text);
    const auto has = [&](const std::string& prefix) {
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
    };
    // Minimum 11 at step 210: bought at step 209 (day 26, 2007-05-05).
    EXPECT_TRUE(has("Conjunction   2\u00B0, investment #11 on 2007-05-05 of $100"));
    EXPECT_TRUE(has("Conjunction   2\u00B0, redemption #11 on "));
    EXPECT_TRUE(has("Conjunction   2\u00B0, investment #12 on "));
    char summary[64];
    std::snprintf(summary, sizeof summary, "Ea con Ma,  2\u00B0, ends with $%.2f", expectedGain);
    EXPECT_TRUE(has(summary)) << summary;
    const auto twoDegree =
        std::find_if(pairs.begin(), pairs.end(), [](const auto& p) { return p.orbDegrees == 2; });
    ASSERT_NE(twoDegree, pairs.end());
    EXPECT_EQ(twoDegree->investments, 12);
    EXPECT_NEAR(twoDegree->totalGain, expectedGain, 0.011);
}

TEST_F(SimulationRun, NoAspectCheckedGivesHeaderAndZero) {
    SimulationRequest request = Request();
    request.aspectChecked = {};
    ASSERT_EQ(Run(request, Vee), SimulationOutcome::Completed);
    const std::vector<std::string> expected = {kHeader, "", "Total number of investments = 0", "",
                                               ""};
    EXPECT_EQ(Lines(host.output.text), expected);
    EXPECT_TRUE(pairs.empty());
}

TEST_F(SimulationRun, LossesArePrintedAsLostAndTotalLoss) {
    index.values = {
        {kStart + 1, 1000.0}, {kStart + 2, 1050.0}, {kStart + 3, 1000.0}, {kStart + 4, 900.0}};
    ASSERT_EQ(Run(Request(), Vee), SimulationOutcome::Completed);
    const auto lines = Lines(host.output.text);
    ASSERT_GE(lines.size(), 8u);
    EXPECT_EQ(lines[5],
              "Conjunction   2\u00B0, redemption #1 on 2007-04-12, lost $4.76, total "
              "loss is $4.76");
    EXPECT_EQ(lines[7],
              "Conjunction  10\u00B0, redemption #1 on 2007-04-13, lost $10.00, total "
              "loss is $10.00");
    // Less negative keys rank higher: the 2 degree record (-4.761412...)
    // before the 5 degree one (-4.761415...).
    EXPECT_EQ(lines[11], "Ea con Ma,  2\u00B0, ends with $-4.76");
    EXPECT_EQ(lines[12], "Ea con Ma,  5\u00B0, ends with $-4.76");
    EXPECT_EQ(lines[13], "Ea con Ma, 10\u00B0, ends with $-10.00");
    EXPECT_EQ(lines[16], "Conjunction   3  $-19.52");
}

TEST_F(SimulationRun, SummaryOrdersEqualGainsByTheirFurtherDigits) {
    // All aspect types; only the conjunction trades (gains > 0); every other
    // record has no investments and the key digits alone order them:
    // aspect number descending, and within one the orbs 5, 2, 10.
    index.values = {{kStart + 2, 1050.0}, {kStart + 3, 1100.0}, {kStart + 4, 1200.0}};
    SimulationRequest request = Request();
    request.aspectChecked.fill(true);
    request.includeDetails = false;
    ASSERT_EQ(Run(request, Vee), SimulationOutcome::Completed);
    std::vector<std::string> expected = {kHeader,
                                         "",
                                         "Total number of investments = 3",
                                         "",
                                         "Ea con Ma, 10\u00B0, ends with $20.00",
                                         "Ea con Ma,  5\u00B0, ends with $4.76",
                                         "Ea con Ma,  2\u00B0, ends with $4.76"};
    const char* abbreviations[] = {"", "con", "opp", "sqr", "tri", "sxt", "ssx", "qui"};
    for (int a = 7; a >= 2; --a) {
        for (const char* orb : {" 5", " 2", "10"}) {
            expected.push_back(std::string("Ea ") + abbreviations[a] + " Ma, " + orb +
                               "\u00B0, no investments");
        }
    }
    expected.insert(expected.end(),
                    {"", "Gain or loss by aspect for all orbs:", "Conjunction   3  $29.52", ""});
    EXPECT_EQ(Lines(host.output.text), expected);
}

TEST_F(SimulationRun, AppendKeepsThePreviousOutputWithABlankLine) {
    host.output.text = "earlier report\r\n";
    SimulationRequest request = Request();
    request.append = true;
    request.aspectChecked = {};
    ASSERT_EQ(Run(request, Vee), SimulationOutcome::Completed);
    EXPECT_EQ(host.output.text, std::string("earlier report\r\n\r\n") + kHeader +
                                    "\r\n\r\nTotal number of investments = 0\r\n\r\n");
    // Without append the box is cleared first.
    host = FakeRunHost(RunKind::Simulation);
    host.output.text = "earlier report\r\n";
    request.append = false;
    request.includeDetails = false;
    ASSERT_EQ(Run(request, Vee), SimulationOutcome::Completed);
    EXPECT_EQ(host.output.text,
              std::string(kHeader) + "\r\nTotal number of investments = 0\r\n\r\n");
}

TEST_F(SimulationRun, StopAnsweredNoContinuesWithTheSameRecords) {
    index.values = {{kStart + 2, 1050.0}, {kStart + 3, 1100.0}, {kStart + 4, 1200.0}};
    ASSERT_EQ(Run(Request(), Vee), SimulationOutcome::Completed);
    const std::string uninterrupted = host.output.text;

    host = FakeRunHost(RunKind::Simulation);
    host.boxes.Expect("Stop?", MsgResult::No);
    // A click on "Pause" in the middle of the transit (step 18).
    host.onYield = [&](int yields) {
        if (yields == 19) {
            ASSERT_NE(current, nullptr);
            EXPECT_EQ(current->Click(Request()), SimulationOutcome::PauseRequested);
            EXPECT_TRUE(host.control.PauseRequested());
        }
    };
    ASSERT_EQ(Run(Request(), Vee), SimulationOutcome::Completed);
    EXPECT_EQ(host.output.text, uninterrupted);
    EXPECT_FALSE(host.control.PauseRequested());
    ASSERT_EQ(host.boxes.shown.size(), 1u);
    EXPECT_EQ(host.boxes.shown[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(host.boxes.shown[0].icon, MsgIcon::None);
    EXPECT_EQ(host.boxes.shown[0].title, kDefaultTitle);
}

TEST_F(SimulationRun, QuitDuringTheRunEndsItWithoutAsking) {
    host.onYield = [&](int yields) {
        if (yields == 19) host.control.Quit();
    };
    ASSERT_EQ(Run(Request(), Vee), SimulationOutcome::Stopped);
    EXPECT_EQ(host.yields, 19);
    EXPECT_TRUE(host.boxes.shown.empty());  // no "Stop?"
    EXPECT_FALSE(host.control.Running());
    EXPECT_EQ(host.output.text.find("Total number of investments"), std::string::npos);
}

TEST_F(SimulationRun, StopAnsweredYesEndsWithStoppedAndNoSummary) {
    host.boxes.Expect("Stop?", MsgResult::Yes);
    host.onYield = [&](int yields) {
        if (yields == 19) host.control.RequestPause();
    };
    ASSERT_EQ(Run(Request(), Vee), SimulationOutcome::Stopped);
    const std::vector<std::string> expected = {
        kHeader,
        "",
        "Conjunction  10\u00B0, investment #1 on 2007-04-10 of $100",
        "Conjunction   5\u00B0, investment #1 on 2007-04-11 of $100",
        "",
        "Stopped",
    };
    EXPECT_EQ(Lines(host.output.text), expected);
    EXPECT_FALSE(host.control.PauseRequested());
    EXPECT_EQ(host.events.back(), "idle");
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "popup(Done)"), 0);
}

TEST_F(SimulationRun, MissingIndexValueEndsWithoutSummary) {
    index.values = {{kStart + 3, 0.0}};
    host.boxes.Expect("For 2007-04-12 cannot get value from DJIA data.", MsgResult::Ok);
    ASSERT_EQ(Run(Request(), Vee), SimulationOutcome::MissingIndexValue);
    const std::vector<std::string> expected = {
        kHeader,
        "",
        "Conjunction  10\u00B0, investment #1 on 2007-04-10 of $100",
        "Conjunction   5\u00B0, investment #1 on 2007-04-11 of $100",
        "Conjunction   2\u00B0, investment #1 on 2007-04-11 of $100",
        "",
    };
    EXPECT_EQ(Lines(host.output.text), expected);
    ASSERT_EQ(host.boxes.shown.size(), 1u);
    EXPECT_EQ(host.boxes.shown[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(host.boxes.shown[0].icon, MsgIcon::None);
    EXPECT_EQ(host.boxes.shown[0].title, kDefaultTitle);
    EXPECT_EQ(host.events.back(), "idle");
    // The index is asked once per calendar day, not once per step.
    EXPECT_EQ(index.lookups, 4);
}

TEST_F(SimulationRun, FullOutputBoxEndsTheRun) {
    // Two bytes in memory each, these characters leave room for exactly the
    // header and the first detail line within 65000 characters (the limit
    // counts characters, not bytes); the second detail line goes past it.
    std::string filler;
    for (int k = 0; k < 64843; ++k) filler += "\u00B0";
    host.output.text = filler;
    host.boxes.Expect(
        "Output textbox is full.\n\nPlease specify a shorter period or fewer aspect "
        "types.",
        MsgResult::Ok);
    SimulationRequest request = Request();
    request.append = true;
    index.values = {{kStart + 2, 1050.0}};
    ASSERT_EQ(Run(request, Vee), SimulationOutcome::OutputFull);
    const std::string tail = host.output.text.substr(filler.size());
    const std::vector<std::string> expected = {
        "",
        kHeader,
        "",
        "Conjunction  10\u00B0, investment #1 on 2007-04-10 of $100",
        "Conjunction   5\u00B0, investment #1 on 2007-04-11 of $100",
        "",
        "Textbox is full",
        "",
    };
    EXPECT_EQ(Lines(tail), expected);
    ASSERT_EQ(host.boxes.shown.size(), 1u);
    EXPECT_EQ(host.boxes.shown[0].title, "Veltaro 1.0");
    EXPECT_EQ(host.boxes.shown[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(host.events.back(), "idle");
}

TEST_F(SimulationRun, MissingPositionsOfTheChosenPairOpenNothing) {
    // The Earth has no position at steps 5..40: the transit (minimum at step
    // 20) is never seen, so nothing is opened.
    invalidSteps = [](double i) { return i >= 5.0 && i <= 40.0; };
    ASSERT_EQ(Run(Request(), Vee), SimulationOutcome::Completed);
    const std::vector<std::string> expected = {kHeader, "", "Total number of investments = 0", "",
                                               ""};
    EXPECT_EQ(Lines(host.output.text), expected);
}

TEST_F(SimulationRun, LosingThePositionRedeemsAsLeavingTheOrb) {
    // The Earth's position is lost at steps 25..27 while the 10 degree orb
    // is open: the investment is redeemed at step 25, the first step with no
    // position, as if the transit had left the orb.
    index.values = {{kStart + 3, 1100.0}};
    invalidSteps = [](double i) { return i >= 25.0 && i <= 27.0; };
    ASSERT_EQ(Run(Request(), Vee), SimulationOutcome::Completed);
    const auto lines = Lines(host.output.text);
    ASSERT_GE(lines.size(), 9u);
    EXPECT_EQ(lines[6],
              "Conjunction  10\u00B0, redemption #1 on 2007-04-12, gained $10.00, total "
              "gain is $10.00");
    // When the position comes back inside the orb, that is an entry.
    EXPECT_EQ(lines[8], "Conjunction  10\u00B0, investment #2 on 2007-04-12 of $100");
}

TEST_F(SimulationRun, OtherPlanetsWithoutPositionsDoNotMatter) {
    // CurvePositions gives no position for Mercury, Venus, Jupiter .. Pluto;
    // the Earth-Mars records are what a source with all nine would give.
    class AllPlanets : public HelioPositionSource {
    public:
        explicit AllPlanets(HelioPositionSource& pair) : pair_(pair) {}
        double HelioLongitude(std::int16_t planet, double jd) override {
            if (planet == 1 || planet == 4) {
                const PositionResult r = pair_.Position(planet, jd);
                return r.HasLongitude() ? r.Longitude() : r.FailureCode();
            }
            return 0.1 * planet;
        }

    private:
        HelioPositionSource& pair_;
    };
    index.values = {{kStart + 2, 1050.0}, {kStart + 3, 1100.0}, {kStart + 4, 1200.0}};
    ASSERT_EQ(Run(Request(), Vee), SimulationOutcome::Completed);
    const std::string withGaps = host.output.text;

    FakeRunHost other{RunKind::Simulation};
    CurvePositions pair(kStart, 4, Vee);
    AllPlanets all(pair);
    SimulationTextSink text(other.Output(), amounts);
    InvestmentSimulation simulation(other, text, all, index);
    ASSERT_EQ(simulation.Click(Request()), SimulationOutcome::Completed);
    EXPECT_EQ(other.output.text, withGaps);
}

struct DateCase {
    std::string name;
    std::int32_t start, end;
    std::string message;  // empty: accepted
};

TEST_F(SimulationRun, DateChecks) {
    const std::string range =
        "Investment dates must be in the range\n 2007-01-03 through 2014-12-31.";
    const std::string thirty =
        "For the investment simulation the start date must be\nat least 30 days prior to the end "
        "date.";
    const std::vector<DateCase> cases = {
        {"whole covered range", 2454104, 2457023, ""},
        {"start one day early", 2454103, 2457023, range},
        {"end one day late", 2454104, 2457024, range},
        {"both outside", 2400000, 2500000, range},
        {"range checked before length", 2454103, 2454110, range},
        {"exactly 30 days", 2455000, 2455030, ""},
        {"29 days", 2455001, 2455030, thirty},
        {"start after end", 2455030, 2455000, thirty},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host = FakeRunHost(RunKind::Simulation);
        SimulationRequest request = Request();
        request.startDay = c.start;
        request.endDay = c.end;
        request.includeDetails = false;
        if (!c.message.empty()) host.boxes.Expect(c.message, MsgResult::Ok);
        const SimulationOutcome outcome = Run(request, [](double) { return 45.5; });
        if (c.message.empty()) {
            EXPECT_EQ(outcome, SimulationOutcome::Completed);
            EXPECT_TRUE(host.boxes.shown.empty());
        } else {
            EXPECT_EQ(outcome, SimulationOutcome::Refused);
            ASSERT_EQ(host.boxes.shown.size(), 1u);
            EXPECT_EQ(host.boxes.shown[0].title, "Simulate investment");
            EXPECT_EQ(host.boxes.shown[0].icon, MsgIcon::Information);
            EXPECT_TRUE(host.events.empty()) << "a refused click must change nothing";
            EXPECT_TRUE(host.output.text.empty());
        }
    }
}

TEST_F(SimulationRun, ClickDuringARunChecksDatesWithThePauseCaption) {
    host.onYield = [&](int yields) {
        if (yields != 3) return;
        SimulationRequest bad = Request();
        bad.startDay = 2454000;
        host.boxes.Expect("Investment dates must be in the range\n 2007-01-03 through 2014-12-31.",
                          MsgResult::Ok);
        EXPECT_EQ(current->Click(bad), SimulationOutcome::Refused);
        EXPECT_FALSE(host.control.PauseRequested());
    };
    ASSERT_EQ(Run(Request(), Vee), SimulationOutcome::Completed);
    ASSERT_EQ(host.boxes.shown.size(), 1u);
    EXPECT_EQ(host.boxes.shown[0].title, "Pause");
}

TEST_F(SimulationRun, FirstPlanetUnselectedMeansPluto) {
    SimulationRequest request = Request();
    request.firstPlanetIndex = -1;
    request.secondPlanetIndex = 0;
    request.includeDetails = false;
    request.reportTitle =
        "Heliocentric transits for Pluto and Mercury from April 9, 2007, to May 9, 2007";
    CurvePositions positions(kStart, 2, Vee);
    SimulationTextSink text(host.Output(), amounts);
    InvestmentSimulation simulation(host, text, positions, index);
    ASSERT_EQ(simulation.Click(request), SimulationOutcome::Completed);
    EXPECT_EQ(simulation.Pairs()[0].first, Planet::Pluto);
    EXPECT_EQ(simulation.Pairs()[0].second, Planet::Mercury);
    EXPECT_EQ(simulation.Pairs()[0].aspect, Aspect::Conjunction);
    // Pluto has no position in this source, so no transit is seen.
    EXPECT_EQ(simulation.Totals().completedInvestments, 0);
    EXPECT_EQ(Lines(host.output.text)[0],
              "Simulated investments for selected aspects for Pluto and Mercury from April 9, "
              "2007, to May 9, 2007");
}

TEST_F(SimulationRun, ImpossibleListPositionsAreRefusedQuietly) {
    for (auto change : std::vector<std::function<void(SimulationRequest&)>>{
             [](SimulationRequest& r) { r.firstPlanetIndex = 9; },
             [](SimulationRequest& r) { r.secondPlanetIndex = -1; },
             [](SimulationRequest& r) { r.orbIndex[1] = 15; },
             [](SimulationRequest& r) { r.orbIndex[2] = -1; }}) {
        host = FakeRunHost(RunKind::Simulation);
        SimulationRequest request = Request();
        change(request);
        EXPECT_EQ(Run(request, Vee), SimulationOutcome::InvalidRequest);
        EXPECT_TRUE(host.events.empty());
        EXPECT_TRUE(host.output.text.empty());
    }
}

// A position of the pair that a data file could not give ends the run at
// that step with the file's message and no summary; the same code for a
// planet outside the pair changes nothing.
TEST_F(SimulationRun, DataFileFailureOfThePairEndsTheRun) {
    class Failing : public HelioPositionSource {
    public:
        explicit Failing(CurvePositions& inner) : inner_(inner) {}
        double HelioLongitude(std::int16_t planet, double jd) override {
            if (planet == 8) return -101.0;                         // not in the pair
            if (planet == 5 && jd >= kStart + 10.0) return -107.0;  // Jupiter's record
            return inner_.HelioLongitude(planet == 5 ? 4 : planet, jd);
        }

    private:
        CurvePositions& inner_;
    };
    CurvePositions curve(kStart, 4, Vee);
    Failing positions(curve);
    SimulationRequest request = Request();
    request.secondPlanetIndex = 3;  // Jupiter
    host.boxes.Expect(
        "Cannot read the data file jupiter.dac: the record for the years 2005 to 2009 is damaged.",
        MsgResult::Ok);
    SimulationTextSink text(host.Output(), amounts);
    InvestmentSimulation simulation(host, text, positions, index);
    EXPECT_EQ(simulation.Click(request), SimulationOutcome::DataFileFailed);
    EXPECT_TRUE(host.boxes.ScriptDone());
    EXPECT_EQ(host.boxes.shown.back().icon, MsgIcon::Exclamation);
    EXPECT_EQ(host.output.text.find("Total number of investments"), std::string::npos);
    EXPECT_NE(host.output.text.find("Stopped"), std::string::npos);
    EXPECT_FALSE(host.control.Running());
    // Neptune's code from the first step on did not stop the run: it went on
    // to the investments of the pass before Jupiter's record failed.
    EXPECT_NE(host.output.text.find("investment #1"), std::string::npos);
}

TEST_F(SimulationRun, PlanetWithItselfIsRefusedAsTheTablesRefuseIt) {
    SimulationRequest request = Request();
    request.firstPlanetIndex = 3;   // Mars
    request.secondPlanetIndex = 2;  // Mars
    host.boxes.Expect("Transit of a planet to itself is not possible.", MsgResult::Ok);
    EXPECT_EQ(Run(request, Vee), SimulationOutcome::Refused);
    EXPECT_EQ(host.boxes.shown[0].title, "Simulate investment");
    EXPECT_TRUE(host.output.text.empty());
    request.firstPlanetIndex = -1;  // Pluto
    request.secondPlanetIndex = 7;  // Pluto
    host = FakeRunHost(RunKind::Simulation);
    host.boxes.Expect("Transit of a planet to itself is not possible.", MsgResult::Ok);
    EXPECT_EQ(Run(request, Vee), SimulationOutcome::Refused);
}

// The Moon's list position, in either list, is refused with one message.
TEST_F(SimulationRun, TheMoonIsRefusedWithItsMessage) {
    for (const auto& [first, second] : {std::pair{8, 3}, std::pair{0, 8}, std::pair{8, 8}}) {
        host = FakeRunHost(RunKind::Simulation);
        SimulationRequest request = Request();
        request.firstPlanetIndex = first;
        request.secondPlanetIndex = second;
        host.boxes.Expect("The investment simulation takes the planets only, not the Moon.",
                          MsgResult::Ok);
        EXPECT_EQ(Run(request, Vee), SimulationOutcome::Refused);
        EXPECT_TRUE(host.boxes.ScriptDone());
        EXPECT_TRUE(host.output.text.empty());
    }
}

TEST(SimulationLines, HeaderKeepsTheTitleAfterItsFirstFor) {
    EXPECT_EQ(SimulationHeader("Heliocentric transits for Venus and Saturn from May 5, 2010, to "
                               "June 6, 2011"),
              "Simulated investments for selected aspects for Venus and Saturn from May 5, 2010, "
              "to June 6, 2011");
    EXPECT_EQ(SimulationHeader("no marker"),
              "Simulated investments for selected aspects for no marker");
    EXPECT_EQ(SimulationHeader("ends with for"), "Simulated investments for selected aspects for ");
}

}  // namespace
}  // namespace vlt

// The typed results of a simulation: the running total's rounding and the
// summary's order, with equal totals and equal ranks.

#include "app/simulation/simulation_result.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace vlt {
namespace {

TEST(RecordedTotal, RoundsToCentsHalvesToEvenAndFitsSevenCharacters) {
    struct Case {
        double exact;
        double recorded;
    };
    const Case cases[] = {
        {0.125, 0.12},            // a binary half: to the even cent
        {0.375, 0.38},            //
        {-0.125, -0.12},          //
        {12.344, 12.34},          //
        {12345.678, 12345.7},     // "12345.68" is eight characters
        {123456.7, 123457.0},     // no decimals left
        {1234567.8, 1234568.0},   //
        {12345678.0, 9999999.0},  // held at the widest value
        {-123456.7, -123457.0},   //
        {-1234567.0, -999999.0},  //
    };
    for (const Case& c : cases) EXPECT_EQ(RecordedTotal(c.exact), c.recorded) << c.exact;
    // A loss below half a cent is no loss: not "-0.00".
    EXPECT_FALSE(std::signbit(RecordedTotal(-0.001)));
}

TEST(RecordedTotal, IsRoundedAfterEveryRedemption) {
    // Three gains of 0.4 cents: each running total rounds back to 0.00,
    // where adding them first would give a cent.
    double total = 0.0;
    for (int k = 0; k < 3; ++k) total = RecordedTotal(total + 0.004);
    EXPECT_EQ(total, 0.0);
    EXPECT_EQ(RecordedTotal(3 * 0.004), 0.01);
}

// A pair of the Sun (1) and Mars (4) as a run leaves it.
struct PairState {
    Aspect aspect;
    int orb;
    int investments;
    double total;
    std::optional<double> open = std::nullopt;
    bool cancelled = false;
};

std::string Label(const SimulationPair& p) {
    return std::string(Info(p.aspect).abbreviation) + std::to_string(p.orbDegrees);
}

TEST(SortForSummary, RanksByTotalThenByTheFurtherDigits) {
    using A = Aspect;
    struct Case {
        const char* what;
        std::vector<PairState> built;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"totals decide first",
         {{A::Conjunction, 10, 1, -1.5}, {A::Square, 5, 2, 3.25}, {A::Trine, 2, 1, 0.5}},
         {"Sqr5", "Tri2", "Con10"}},
        {"equal gains: aspect and orb digits, .12 before .110",
         {{A::Conjunction, 10, 1, 5.0}, {A::Opposition, 2, 1, 5.0}, {A::Conjunction, 2, 1, 5.0}},
         {"Opp2", "Con2", "Con10"}},
        {"equal losses: the same digits make a larger loss",
         {{A::Conjunction, 10, 1, -5.0}, {A::Opposition, 2, 1, -5.0}, {A::Conjunction, 2, 1, -5.0}},
         {"Con10", "Con2", "Opp2"}},
        {"equal gains, counts compared as decimals: .02 before .0012",
         {{A::Conjunction, 10, 12, 1.0}, {A::Conjunction, 1, 2, 1.0}},
         {"Con1", "Con10"}},
        {"open and cancelled at the end rank with the flag 1",
         {{A::Conjunction, 10, 1, 0.0, 1000.0},
          {A::Conjunction, 5, 0, 0.0, std::nullopt, true},
          {A::Conjunction, 2, 0, 0.0}},
         {"Con5", "Con2", "Con10"}},
        // The order of this tie is the old partition sort's, as the summaries
        // of orbs 10,5,1 have always shown it (no stable order).
        {"1 and 10 degrees without investments rank alike: the partition's order",
         {{A::Conjunction, 10, 0, 0.0}, {A::Conjunction, 5, 0, 0.0}, {A::Conjunction, 1, 0, 0.0}},
         {"Con5", "Con1", "Con10"}},
        {"the same tie built the other way round",
         {{A::Conjunction, 1, 0, 0.0}, {A::Conjunction, 5, 0, 0.0}, {A::Conjunction, 10, 0, 0.0}},
         {"Con5", "Con10", "Con1"}},
    };
    for (const Case& c : cases) {
        std::vector<SimulationPair> pairs;
        for (const PairState& s : c.built) {
            SimulationPair p;
            p.first = Planet::Sun;
            p.second = Planet::Mars;
            p.aspect = s.aspect;
            p.orbDegrees = s.orb;
            p.investments = s.investments;
            p.totalGain = s.total;
            p.openValue = s.open;
            p.cancelledAtEnd = s.cancelled;
            pairs.push_back(p);
        }
        SortForSummary(pairs);
        std::vector<std::string> order;
        for (const SimulationPair& p : pairs) order.push_back(Label(p));
        EXPECT_EQ(order, c.expected) << c.what;
    }
}

TEST(BuildSimulationPairs, ThreeOrbsPerCheckedAspectInTableOrder) {
    const std::array<bool, 7> checked = {false, true, false, false, false, false, true};
    const auto pairs = BuildSimulationPairs(Planet::Sun, Planet::Mars, checked, {10, 5, 2});
    std::vector<std::string> order;
    for (const SimulationPair& p : pairs) order.push_back(Label(p));
    EXPECT_EQ(order, (std::vector<std::string>{"Opp10", "Opp5", "Opp2", "Qui10", "Qui5", "Qui2"}));
}

}  // namespace
}  // namespace vlt

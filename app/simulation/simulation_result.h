#pragma once
// What an investment simulation leaves: one pair per (aspect type, orb) with
// its count and running total, the totals per aspect type, and (in
// investment_simulation.h) every investment, redemption and cancellation.
// The box text, CSV, JSON, the statistics and the chart are all formatted
// from these values.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "app/positions/vocabulary.h"

namespace vlt {

// The running total of a pair after a redemption: the total so far plus the
// redemption's exact gain, rounded to cents (halves to even), to fewer
// decimals when it would not fit seven characters, held at the widest value
// past that.  Every report's total of a pair is this number.
double RecordedTotal(double exactTotal);

// One (aspect type, orb) combination of a run.
struct SimulationPair {
    Planet first = Planet::Sun;
    Planet second = Planet::Mercury;
    Aspect aspect = Aspect::Conjunction;
    int orbDegrees = 0;
    // Investments opened and not cancelled.
    int investments = 0;
    // The running total by RecordedTotal; 0 before the first redemption.
    double totalGain = 0.0;
    // The index value of the open investment, while one is open.
    std::optional<double> openValue;
    // The run ended with an investment still applying, which it cancelled.
    bool cancelledAtEnd = false;
};

// For each checked aspect type (box b stands for aspect b + 1), in box order,
// the pairs of the outer, middle and inner orb.
std::vector<SimulationPair> BuildSimulationPairs(Planet first, Planet second,
                                                 const std::array<bool, 7>& aspectChecked,
                                                 const std::array<int, 3>& orbDegrees);

// The summary's order, best first.  The summary has always ranked its pairs
// by one number: the total (as written with at most two decimals) followed,
// as further decimals, by the planet numbers, the aspect number, the orb,
// a flag and then, for an open investment, the whole part of its index
// value, otherwise the count.  The flag is 1 for an open investment and for
// one cancelled at the end, 0 otherwise.  Equal totals so rank by the digits
// of aspect and orb read as decimals: Conjunction 2° (".12") before
// Conjunction 10° (".110") at a total of 0 or more, the other way round below.
double SummaryRank(const SimulationPair& pair);

// Sorts by descending SummaryRank.  Pairs of equal rank (one aspect at 1°
// and at 10° without investments: "…1100" and "…11000") come in the order
// the summary's partition sort has always left them, not in build order.
void SortForSummary(std::vector<SimulationPair>& pairs);

// Redemptions and the sum of their exact gains for one aspect type.
struct AspectTotal {
    int redemptions = 0;
    double gainSum = 0.0;
};

// The summary's totals.
struct SimulationTotals {
    int completedInvestments = 0;
    std::array<AspectTotal, kAspectTable.size()> byAspect{};

    AspectTotal& Of(Aspect a) { return byAspect[static_cast<std::size_t>(Number(a) - 1)]; }
    const AspectTotal& Of(Aspect a) const {
        return byAspect[static_cast<std::size_t>(Number(a) - 1)];
    }
};

// The aspect types with at least one redemption, in table order: the lines
// "Gain or loss by aspect" lists.
std::vector<Aspect> RedeemedAspects(const SimulationTotals& totals);

}  // namespace vlt

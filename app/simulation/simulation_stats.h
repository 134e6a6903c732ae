#pragma once
// Is a simulation's result better than chance?  For every (aspect, orb) pair
// of a run: its trades, winners, total and mean gain and mean holding time,
// and a random-timing baseline in which each of the pair's trades keeps its
// holding time but starts on a day drawn uniformly from the period.  The
// draws come from std::mt19937_64 with a mapping to whole numbers of our own
// (rejection of the incomplete last block), so the same seed gives the same
// numbers with every compiler and library.

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "app/simulation/investment_simulation.h"

namespace vlt {

inline constexpr int kDefaultTrials = 1000;
inline constexpr std::uint64_t kDefaultSeed = 1;

// One completed investment (a redemption and the purchase before it).
struct Trade {
    int aspect = 0;
    int orbDegrees = 0;
    std::int32_t buyDay = 0;
    std::int32_t sellDay = 0;
    double gain = 0.0;  // dollars on $100, as the report adds it up
};

// The completed investments of a run, in the order they were redeemed.
std::vector<Trade> CompletedTrades(const std::vector<SimulationEvent>& events);

struct PairStatistics {
    int aspect = 0;
    int orbDegrees = 0;
    int trades = 0;
    int wins = 0;            // trades with a gain above 0
    double totalGain = 0.0;  // dollars
    double meanGain = 0.0;   // percent per trade (0 without trades)
    double meanHoldingDays = 0.0;
    double baselineMean = 0.0;    // total gain of a random-timing run, dollars
    double baselineStdDev = 0.0;  // sample standard deviation over the trials
    double shareBeaten = 0.0;     // share of random runs whose total is below the actual
};

struct RunStatistics {
    std::int32_t startDay = 0;
    std::int32_t endDay = 0;
    int trials = 0;
    std::uint64_t seed = 0;
    bool haveBuyAndHold = false;  // both ends of the period have a value
    double buyAndHoldGain = 0.0;  // dollars gained by $100 held over the period
    std::vector<PairStatistics> pairs;
};

// Statistics for the pairs (aspect, orb) in the order given, from the run's
// events, valuing days with `values` over startDay..endDay.
RunStatistics ComputeRunStatistics(const std::vector<std::pair<int, int>>& pairs,
                                   const std::vector<SimulationEvent>& events, IndexLookup& values,
                                   std::int32_t startDay, std::int32_t endDay, int trials,
                                   std::uint64_t seed);

// The statistics as text below a report: a heading, one line per pair
// (labelled as the summary lines are) and the buy-and-hold line.  Numbers
// use "." and no grouping.
std::string StatisticsText(const RunStatistics& stats, std::int16_t firstPlanet,
                           std::int16_t secondPlanet, bool heliocentric = true);

// A whole number in 0 .. n - 1 (n >= 1), every value equally likely.
std::uint64_t UniformBelow(std::mt19937_64& generator, std::uint64_t n);

// The generator of one pair's trials: seeded from the run's seed, the aspect
// and the orb, so that a pair's baseline does not depend on the others.
std::mt19937_64 PairGenerator(std::uint64_t seed, int aspect, int orbDegrees);

}  // namespace vlt

#pragma once
// The trades of a simulation run, and the random draws the statistics of a
// family make (family_statistics.h).  The draws come from std::mt19937_64
// with a mapping to whole numbers of our own (rejection of the incomplete
// last block), so the same seed gives the same numbers with every compiler
// and library.

#include <cstdint>
#include <random>
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

// A whole number in 0 .. n - 1 (n >= 1), every value equally likely.
std::uint64_t UniformBelow(std::mt19937_64& generator, std::uint64_t n);

}  // namespace vlt

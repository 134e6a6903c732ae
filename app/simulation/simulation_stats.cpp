#include "app/simulation/simulation_stats.h"

#include <limits>

namespace vlt {

std::vector<Trade> CompletedTrades(const std::vector<SimulationEvent>& events) {
    std::vector<Trade> trades;
    for (const SimulationEvent& e : events) {
        if (e.kind != SimulationEvent::Kind::Redemption) continue;
        trades.push_back(Trade{.aspect = Number(e.aspect),
                               .orbDegrees = e.orbDegrees,
                               .buyDay = e.purchaseDay,
                               .sellDay = e.day,
                               .gain = e.gain});
    }
    return trades;
}

std::uint64_t UniformBelow(std::mt19937_64& generator, std::uint64_t n) {
    if (n <= 1) return 0;
    // Draws from the last, incomplete block of n values are thrown away, so
    // that every remainder is equally likely.
    const std::uint64_t limit =
        std::numeric_limits<std::uint64_t>::max() - std::numeric_limits<std::uint64_t>::max() % n;
    std::uint64_t x = 0;
    do {
        x = generator();
    } while (x >= limit);
    return x % n;
}

}  // namespace vlt

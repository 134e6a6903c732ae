#include "app/simulation/simulation_result.h"

#include <algorithm>
#include <string>

#include "app/simulation/amount_format.h"
#include "app/support/numbers.h"

namespace vlt {

namespace {

// A total as seven characters hold it.
constexpr int kTotalWidth = 7;
// An index value as eight characters hold it.
constexpr int kValueWidth = 8;

}  // namespace

double RecordedTotal(double exactTotal) {
    return NumberFromText(DecimalFittingWidth(exactTotal, kTotalWidth));
}

std::vector<SimulationPair> BuildSimulationPairs(Planet first, Planet second,
                                                 const std::array<bool, 7>& aspectChecked,
                                                 const std::array<int, 3>& orbDegrees) {
    std::vector<SimulationPair> pairs;
    for (const AspectInfo& info : kAspectTable) {
        if (!aspectChecked[static_cast<std::size_t>(Number(info.aspect) - 1)]) continue;
        for (const int orb : orbDegrees) {
            SimulationPair pair;
            pair.first = first;
            pair.second = second;
            pair.aspect = info.aspect;
            pair.orbDegrees = orb;
            pairs.push_back(pair);
        }
    }
    return pairs;
}

double SummaryRank(const SimulationPair& pair) {
    // The digits are read as one decimal number, so that a rank compares
    // exactly as the summary has always compared them, down to the last bit
    // of the double.
    std::string digits = DecimalFittingWidth(pair.totalGain, kTotalWidth);
    digits += std::to_string(Number(pair.first));
    digits += std::to_string(Number(pair.second));
    digits += std::to_string(Number(pair.aspect));
    digits += std::to_string(pair.orbDegrees);
    // The count follows; after a value it is read only when the value has no
    // point.
    if (pair.openValue) {
        digits += '1';
        digits += DecimalFittingWidth(*pair.openValue, kValueWidth);
    } else {
        digits += pair.cancelledAtEnd ? '1' : '0';
    }
    digits += std::to_string(pair.investments);
    return NumberFromText(digits);
}

void SortForSummary(std::vector<SimulationPair>& pairs) {
    struct Ranked {
        double rank;
        SimulationPair pair;
    };
    std::vector<Ranked> ranked;
    ranked.reserve(pairs.size());
    for (SimulationPair& p : pairs) ranked.push_back({SummaryRank(p), std::move(p)});
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const Ranked& a, const Ranked& b) { return a.rank > b.rank; });
    for (std::size_t i = 0; i < pairs.size(); ++i) pairs[i] = std::move(ranked[i].pair);
}

std::vector<Aspect> RedeemedAspects(const SimulationTotals& totals) {
    std::vector<Aspect> aspects;
    for (const AspectInfo& info : kAspectTable) {
        if (totals.Of(info.aspect).redemptions > 0) aspects.push_back(info.aspect);
    }
    return aspects;
}

}  // namespace vlt

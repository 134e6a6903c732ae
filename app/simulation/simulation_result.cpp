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

namespace {

struct Ranked {
    double rank;
    SimulationPair pair;
};

// Descending rank by the partition scheme the summary has always been
// sorted with.  Its order of equal ranks is part of the report (a 1° and a
// 10° line without investments rank alike); a stable sort would list such
// lines the other way round.
void PartitionSort(std::vector<Ranked>& list, std::ptrdiff_t lo, std::ptrdiff_t hi) {
    // Iterates over the larger part and recurses into the smaller one, so the
    // stack depth stays logarithmic whatever the ranks.
    const auto at = [&list](std::ptrdiff_t k) -> Ranked& {
        return list[static_cast<std::size_t>(k)];
    };
    while (lo < hi) {
        const double pivot = at(lo + (hi - lo) / 2).rank;
        std::ptrdiff_t i = lo;
        std::ptrdiff_t j = hi;
        while (i <= j) {
            while (i < hi && at(i).rank > pivot) ++i;
            while (j > lo && at(j).rank < pivot) --j;
            if (i <= j) {
                if (i < j) std::swap(at(i), at(j));
                ++i;
                --j;
            }
        }
        if (j - lo < hi - i) {
            if (lo < j) PartitionSort(list, lo, j);
            lo = i;
        } else {
            if (i < hi) PartitionSort(list, i, hi);
            hi = j;
        }
    }
}

}  // namespace

void SortForSummary(std::vector<SimulationPair>& pairs) {
    std::vector<Ranked> ranked;
    ranked.reserve(pairs.size());
    for (SimulationPair& p : pairs) ranked.push_back({SummaryRank(p), std::move(p)});
    PartitionSort(ranked, 0, static_cast<std::ptrdiff_t>(ranked.size()) - 1);
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
